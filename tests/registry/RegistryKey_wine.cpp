// The registry key helper against the real registry, under a scratch key of the current user.
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/RegistryKey.h"

namespace {

const char* const kScratch = "Software\\KestravaTest";

using Bytes = std::vector<BYTE>;

Bytes DaclOf(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS) return {};
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    Bytes block(size);
    if (size == 0 || RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, block.data(), &size) != ERROR_SUCCESS) {
        block.clear();
    }
    RegCloseKey(key);
    return block;
}

// Gives Administrators the mask on the key, and nothing to anybody else.
bool SetAdministratorsOnly(const std::string& path, DWORD mask) {
    BYTE sidBuffer[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sidBuffer;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sidBuffer, &sidSize)) return false;
    BYTE aclBuffer[256];
    SECURITY_DESCRIPTOR descriptor;
    HKEY key = nullptr;
    bool done = InitializeAcl(reinterpret_cast<PACL>(aclBuffer), sizeof aclBuffer, ACL_REVISION) &&
                AddAccessAllowedAce(reinterpret_cast<PACL>(aclBuffer), ACL_REVISION, mask, sidBuffer) &&
                InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(aclBuffer), FALSE) &&
                RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS;
    if (key != nullptr) {
        done = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS && done;
        RegCloseKey(key);
    }
    return done;
}

class RegistryKeyWine : public ::testing::Test {
protected:
    void SetUp() override { RemoveScratch(); }
    void TearDown() override { RemoveScratch(); }

    // A failed run may leave protected keys behind; open them up before deleting.
    static void RemoveScratch() {
        SetAdministratorsOnly(Path("A\\B\\C"), KEY_ALL_ACCESS);
        SetAdministratorsOnly(Path("A\\B"), KEY_ALL_ACCESS);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    static std::string Path(const std::string& sub) { return std::string(kScratch) + "\\" + sub; }
    static void CreateRaw(const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void PutRaw(const std::string& name, DWORD type, const Bytes& data) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kScratch, &key), ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        RegCloseKey(key);
    }
};

TEST_F(RegistryKeyWine, CreatesWritesAndReadsBackTypedValues) {
    RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kScratch, false, false));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kScratch, true, false));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software", true, false));
    EXPECT_TRUE(key.SetString("Text", "abc"));
    EXPECT_TRUE(key.SetDword("Number", 0x12345678));
    const BYTE raw[] = {0xE8, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(key.SetValue("Raw", raw, sizeof raw, REG_BINARY));
    EXPECT_TRUE(key.ValueExists("Raw"));
    EXPECT_FALSE(key.ValueExists("Missing"));

    std::string text;
    EXPECT_TRUE(key.QueryString("Text", text, true));
    EXPECT_EQ(text, "abc");
    DWORD value = 0;
    EXPECT_TRUE(key.QueryDword("Number", value));
    EXPECT_EQ(value, 0x12345678u);
    EXPECT_TRUE(key.QueryDword("Raw", value));
    EXPECT_EQ(value, 0xFFFFFFE8u);
    value = 5;
    EXPECT_FALSE(key.QueryDword("Missing", value));
    EXPECT_EQ(value, 0u);
    key.Close();

    HKEY raw_key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_QUERY_VALUE, &raw_key), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(raw_key, "Text", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RegQueryValueExA(raw_key, "Number", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    RegCloseKey(raw_key);
}

TEST_F(RegistryKeyWine, StrictAndNonStrictStrings) {
    PutRaw("Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
    Bytes limit(1024, 'x');
    limit.back() = 0;
    PutRaw("Limit", REG_BINARY, limit);
    PutRaw("Over", REG_BINARY, Bytes(1025, 'y'));
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kScratch, true, false));
    std::string text;
    EXPECT_TRUE(key.QueryString("Multi", text, false));
    EXPECT_EQ(text, "a\nb\n\n");
    EXPECT_FALSE(key.QueryString("Multi", text, true));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(key.QueryString("Limit", text, true));
    EXPECT_EQ(text, std::string(1023, 'x'));
    EXPECT_FALSE(key.QueryString("Over", text, true));
    EXPECT_TRUE(key.QueryString("Over", text, false));
    EXPECT_EQ(text, std::string(1025, 'y'));
}

TEST_F(RegistryKeyWine, LeadingBackslashIsIgnored) {
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, std::string("\\") + kScratch, true, false));
    EXPECT_TRUE(key.SetDword("Mark", 1));
    key.Close();
    RegistryKey again;
    ASSERT_TRUE(again.Open(HKEY_CURRENT_USER, std::string("\\") + kScratch, false, true));
    EXPECT_TRUE(again.ValueExists("Mark"));
}

TEST_F(RegistryKeyWine, ProtectedKeysAreWidenedTopDownAndRestored) {
    const std::string a = Path("A"), b = Path("A\\B"), c = Path("A\\B\\C");
    CreateRaw(c);
    const DWORD restricted = KEY_READ | WRITE_DAC;
    ASSERT_TRUE(SetAdministratorsOnly(c, restricted));
    ASSERT_TRUE(SetAdministratorsOnly(b, restricted | KEY_NOTIFY));
    HKEY probe = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, c.c_str(), 0, KEY_ALL_ACCESS, &probe) == ERROR_SUCCESS) {
        RegCloseKey(probe);
        GTEST_SKIP() << "this registry does not check key access";
    }
    const Bytes before[] = {DaclOf("Software"), DaclOf(kScratch), DaclOf(a), DaclOf(b), DaclOf(c)};
    for (const Bytes& block : before) ASSERT_FALSE(block.empty());
    {
        RegistryKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, c, true, false));
        EXPECT_TRUE(key.SetDword("Written", 7));
        EXPECT_NE(DaclOf(c), before[4]);
        EXPECT_NE(DaclOf(b), before[3]);
        EXPECT_TRUE(key.Close());
    }
    EXPECT_EQ(DaclOf("Software"), before[0]);
    EXPECT_EQ(DaclOf(kScratch), before[1]);
    EXPECT_EQ(DaclOf(a), before[2]);
    EXPECT_EQ(DaclOf(b), before[3]);
    EXPECT_EQ(DaclOf(c), before[4]);
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, c.c_str(), 0, KEY_ALL_ACCESS, &probe), ERROR_SUCCESS);

    RegistryKey reader;
    ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, c, false, true));
    DWORD value = 0;
    EXPECT_TRUE(reader.QueryDword("Written", value));
    EXPECT_EQ(value, 7u);
    reader.Close();
}

// What a restore needs: the old type and data, whether Open made the key, deleting a
// value, and deleting a key only while it is empty.
TEST_F(RegistryKeyWine, ReadsRawValuesDeletesThemAndDeletesOnlyEmptyKeys) {
    const std::string made = Path("Made");
    CreateRaw(kScratch);
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, made, true, false));
    EXPECT_TRUE(key.CreatedKey());
    EXPECT_TRUE(key.IsEmpty());
    // Of any length; string types go through the code page, so raw bytes are binary here.
    const BYTE raw[] = {1, 0, 0, 0, 0xAB};
    ASSERT_TRUE(key.SetValue("Odd", raw, sizeof raw, REG_BINARY));
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(key.QueryValue("Odd", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data, Bytes(raw, raw + sizeof raw));
    EXPECT_FALSE(key.QueryValue("Missing", type, data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(key.IsEmpty());
    key.Close();
    EXPECT_FALSE(key.CreatedKey());

    EXPECT_FALSE(DeleteEmptyKey(HKEY_CURRENT_USER, made));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, made, true, false));
    EXPECT_FALSE(key.CreatedKey());
    EXPECT_TRUE(key.DeleteValue("Odd"));
    EXPECT_FALSE(key.DeleteValue("Odd"));
    key.Close();
    CreateRaw(made + "\\Child");
    EXPECT_FALSE(DeleteEmptyKey(HKEY_CURRENT_USER, made));
    EXPECT_TRUE(DeleteEmptyKey(HKEY_CURRENT_USER, made + "\\Child"));
    EXPECT_TRUE(DeleteEmptyKey(HKEY_CURRENT_USER, made));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, made, false, false));
}

}  // namespace
