#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "sim/MachineTest.h"
#include "registry/RegistryKey.h"

namespace {
using namespace win;
using Bytes = std::vector<BYTE>;
using Paths = std::vector<std::string>;

// Masks that let the caller read the key and rewrite its DACL, but not open it for full access.
constexpr DWORD kReadAndWriteDac = KEY_READ | WRITE_DAC;

// The DACL every widened key carries: SYSTEM then Administrators, both inheritable.
Bytes WideningDescriptor() {
    Bytes block = {1, 0, 0x04, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0};
    Bytes acl = {2, 0, 76, 0, 2, 0, 0, 0,
                 0, 3, 20, 0, 0x00, 0x00, 0x00, 0x10, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,
                 0, 3, 24, 0, 0x3F, 0x00, 0x0F, 0x10, 1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
    acl.resize(76, 0);
    block.insert(block.end(), acl.begin(), acl.end());
    return block;
}

class RegistryKeyTest : public sim::MachineTest {
protected:
    void Restrict(const std::string& path, DWORD mask) { machine.registry.Grant(HKEY_LOCAL_MACHINE, path, mask); }
    Bytes SecurityOf(const std::string& path) { return machine.registry.SecurityOf(HKEY_LOCAL_MACHINE, path); }
    void Put(const std::string& name, DWORD type, const Bytes& data) {
        machine.registry.PutValue(HKEY_CURRENT_USER, "Software\\Test", name, type, data);
    }
    void OpenTestKey(RegistryKey& key) { ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\Test", true, false)); }

};

TEST_F(RegistryKeyTest, KeyWithFullAccessOpensWithoutTouchingSecurity) {
    machine.registry.AddKey(HKEY_LOCAL_MACHINE, "System\\Video");
    {
        RegistryKey key;
        EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "System\\Video", true, false));
        EXPECT_TRUE(key.SetDword("Level", 2));
        EXPECT_TRUE(key.Close());
        EXPECT_FALSE(key.IsOpen());
        EXPECT_EQ(key.Path(), "");
    }
    EXPECT_TRUE(machine.registry.SecurityWrites().empty());
}

TEST_F(RegistryKeyTest, WideningJournalsEveryLevelTopFirstAndCloseRestoresInReverse) {
    Restrict("A", kReadAndWriteDac);
    Restrict("A\\B", kReadAndWriteDac | KEY_NOTIFY);
    Restrict("A\\B\\C", kReadAndWriteDac | KEY_CREATE_LINK);
    const Bytes originals[] = {SecurityOf("A"), SecurityOf("A\\B"), SecurityOf("A\\B\\C")};

    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "A\\B\\C", true, false));
    EXPECT_EQ(machine.registry.SecurityWrites(), (Paths{"a", "a\\b", "a\\b\\c"}));
    EXPECT_EQ(SecurityOf("A"), WideningDescriptor());
    EXPECT_EQ(SecurityOf("A\\B\\C"), WideningDescriptor());
    EXPECT_TRUE(key.SetDword("Written", 1));

    key.Close();
    EXPECT_EQ(machine.registry.SecurityWrites(),
              (Paths{"a", "a\\b", "a\\b\\c", "a\\b\\c", "a\\b", "a"}));
    EXPECT_EQ(SecurityOf("A"), originals[0]);
    EXPECT_EQ(SecurityOf("A\\B"), originals[1]);
    EXPECT_EQ(SecurityOf("A\\B\\C"), originals[2]);
    EXPECT_EQ(machine.registry.AccessOf(HKEY_LOCAL_MACHINE, "A\\B\\C"), kReadAndWriteDac | KEY_CREATE_LINK);

    // The journal is empty now: closing again restores nothing.
    key.Close();
    EXPECT_EQ(machine.registry.SecurityWrites().size(), 6u);
}

TEST_F(RegistryKeyTest, WideningStopsAtALevelWithoutWriteDacAndDestructionRestoresTheRest) {
    Restrict("A", kReadAndWriteDac);
    Restrict("A\\B", KEY_READ);
    Restrict("A\\B\\C", kReadAndWriteDac);
    const Bytes original = SecurityOf("A");
    const Bytes lower = SecurityOf("A\\B\\C");
    {
        RegistryKey key;
        EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, "A\\B\\C", true, false));
        EXPECT_FALSE(key.IsOpen());
        EXPECT_EQ(key.Path(), "A\\B\\C");
        EXPECT_EQ(machine.registry.SecurityWrites(), Paths{"a"});
        EXPECT_EQ(SecurityOf("A\\B\\C"), lower);
        // Destroyed without Close.
    }
    EXPECT_EQ(machine.registry.SecurityWrites(), (Paths{"a", "a"}));
    EXPECT_EQ(SecurityOf("A"), original);
}

TEST_F(RegistryKeyTest, NoWideningWhenTheAccountsCannotBeLookedUp) {
    Restrict("A", kReadAndWriteDac);
    machine.registry.FailAccountLookup("Administrators");
    RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, "A", true, false));
    EXPECT_TRUE(machine.registry.SecurityWrites().empty());
}

TEST_F(RegistryKeyTest, LeadingBackslashIsIgnoredByProbeWideningOpenAndCreate) {
    Restrict("A", kReadAndWriteDac);
    Restrict("A\\B", kReadAndWriteDac);
    {
        RegistryKey key;
        EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "\\A\\B", true, false));
        EXPECT_EQ(key.Path(), "A\\B");
    }
    EXPECT_EQ(machine.registry.SecurityWrites(), (Paths{"a", "a\\b", "a\\b", "a"}));

    RegistryKey created;
    EXPECT_TRUE(created.Create(HKEY_CURRENT_USER, "\\Software\\New"));
    EXPECT_TRUE(machine.registry.KeyExists(HKEY_CURRENT_USER, "Software\\New"));
}

TEST_F(RegistryKeyTest, SecondOpenOrCreateIsRefusedWhileAKeyIsOpen) {
    machine.registry.AddKey(HKEY_CURRENT_USER, "Software\\First");
    machine.registry.AddKey(HKEY_CURRENT_USER, "Software\\Second");
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\First", true, false));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\Second", true, false));
    EXPECT_FALSE(key.Create(HKEY_CURRENT_USER, "Software\\Third"));
    EXPECT_EQ(key.Path(), "Software\\First");
    EXPECT_TRUE(key.SetDword("Mark", 1));
    DWORD type;
    Bytes data;
    EXPECT_TRUE(machine.registry.ReadValue(HKEY_CURRENT_USER, "Software\\First", "Mark", type, data));
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_CURRENT_USER, "Software\\Third"));
    key.Close();
}

TEST_F(RegistryKeyTest, MissingKeyIsCreatedOnlyWithTheCreateFlag) {
    RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\Kestrava\\Maintain", false, false));
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_CURRENT_USER, "Software\\Kestrava"));

    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\Kestrava\\Maintain", true, false));
    EXPECT_TRUE(machine.registry.KeyExists(HKEY_CURRENT_USER, "software\\kestrava\\maintain"));
    EXPECT_TRUE(machine.registry.SecurityWrites().empty());
    key.Close();
}

TEST_F(RegistryKeyTest, ReadOnlyOpenCanReadButNotWrite) {
    Put("Count", REG_DWORD, {7, 0, 0, 0});
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\Test", false, true));
    DWORD value = 0;
    EXPECT_TRUE(key.QueryDword("Count", value));
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(key.SetDword("Count", 8));
}

TEST_F(RegistryKeyTest, OnWindows9xKeysOpenWithoutAnySecurityCall) {
    machine.systemInfo.UseWindows9x();
    Restrict("A\\B", KEY_READ);
    RegistryKey key;
    EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "A\\B", true, false));
    EXPECT_TRUE(key.SetDword("Value", 1));
    EXPECT_TRUE(machine.registry.SecurityWrites().empty());
}

TEST_F(RegistryKeyTest, ValueOperationsFailWhileClosed) {
    RegistryKey key;
    std::string text = "old";
    DWORD value = 5;
    EXPECT_FALSE(key.QueryString("x", text, false));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(key.QueryDword("x", value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(key.SetString("x", "y"));
    EXPECT_FALSE(key.SetDword("x", 1));
    EXPECT_FALSE(key.SetValue("x", "y", 1, REG_BINARY));
    EXPECT_FALSE(key.ValueExists("x"));
}

TEST_F(RegistryKeyTest, QueryStringStrictLimitsAndMultiStrings) {
    Put("Limit", REG_SZ, Bytes(1024, 'x'));
    Put("Over", REG_SZ, Bytes(1025, 'y'));
    Put("Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
    Put("Number", REG_DWORD, {'7', '8', 0, '9'});
    Put("Unterminated", REG_SZ, {'a', 'b', 'c'});
    RegistryKey key;
    OpenTestKey(key);
    std::string text;

    EXPECT_TRUE(key.QueryString("Limit", text, true));
    EXPECT_EQ(text, std::string(1024, 'x'));
    text = "old";
    EXPECT_FALSE(key.QueryString("Over", text, true));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(key.QueryString("Over", text, false));
    EXPECT_EQ(text.size(), 1025u);

    EXPECT_TRUE(key.QueryString("Multi", text, false));
    EXPECT_EQ(text, "a\nb\n\n");
    EXPECT_FALSE(key.QueryString("Multi", text, true));
    EXPECT_EQ(text, "");

    EXPECT_TRUE(key.QueryString("Number", text, false));
    EXPECT_EQ(text, "78");
    EXPECT_TRUE(key.QueryString("Unterminated", text, false));
    EXPECT_EQ(text, "abc");
    EXPECT_FALSE(key.QueryString("Missing", text, false));
}

TEST_F(RegistryKeyTest, QueryDwordNeedsAtMostFourBytes) {
    Put("Four", REG_BINARY, {0x78, 0x56, 0x34, 0x12});
    Put("Eight", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8});
    RegistryKey key;
    OpenTestKey(key);
    DWORD value = 99;
    EXPECT_TRUE(key.QueryDword("Four", value));
    EXPECT_EQ(value, 0x12345678u);
    value = 99;
    EXPECT_FALSE(key.QueryDword("Missing", value));
    EXPECT_EQ(value, 0u);
    value = 99;
    EXPECT_FALSE(key.QueryDword("Eight", value));
    EXPECT_EQ(value, 0u);
}

TEST_F(RegistryKeyTest, WritesStoreTypeAndExactBytes) {
    RegistryKey key;
    OpenTestKey(key);
    EXPECT_TRUE(key.SetString("Text", "abc"));
    EXPECT_TRUE(key.SetDword("Number", 0x01020304));
    const BYTE raw[] = {0xE8, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(key.SetValue("Raw", raw, 4, REG_BINARY));
    EXPECT_TRUE(key.ValueExists("text"));
    EXPECT_FALSE(key.ValueExists("Other"));

    auto read = [&](const std::string& name, DWORD expectedType, const Bytes& expected) {
        DWORD type = 0;
        Bytes data;
        ASSERT_TRUE(machine.registry.ReadValue(HKEY_CURRENT_USER, "Software\\Test", name, type, data)) << name;
        EXPECT_EQ(type, expectedType) << name;
        EXPECT_EQ(data, expected) << name;
    };
    read("Text", REG_SZ, {'a', 'b', 'c'});
    read("Number", REG_DWORD, {4, 3, 2, 1});
    read("Raw", REG_BINARY, {0xE8, 0xFF, 0xFF, 0xFF});
}

}  // namespace
