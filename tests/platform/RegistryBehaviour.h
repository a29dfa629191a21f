// Registry behaviour the registry helper and the settings restore rely on, checked
// against the installed registry: the simulated one natively and the real one under
// Wine, so both are known to agree. Each check works under a scratch key of the
// current user and removes it at the end.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

namespace registry_behaviour {
using namespace win;

using Bytes = std::vector<BYTE>;

constexpr const char* kScratch = "Software\\KestravaBehaviour";

inline Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The scratch key, open with every right; its known sub-keys and then itself are
// deleted when it goes.
class ScratchKey {
public:
    ScratchKey() { EXPECT_EQ(platform::Registry().RegCreateKeyA(HKEY_CURRENT_USER, kScratch, &key_), ERROR_SUCCESS); }
    ~ScratchKey() {
        auto& registry = platform::Registry();
        registry.RegCloseKey(key_);
        for (const char* child : {"Child\\Grandchild", "Child"}) {
            registry.RegDeleteKeyA(HKEY_CURRENT_USER, Path(child).c_str());
        }
        EXPECT_EQ(registry.RegDeleteKeyA(HKEY_CURRENT_USER, kScratch), ERROR_SUCCESS);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Handle() const { return key_; }
    static std::string Path(const std::string& child) { return std::string(kScratch) + "\\" + child; }
    LONG Set(const char* name, DWORD type, const Bytes& data) const {
        return platform::Registry().RegSetValueExA(key_, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    }

private:
    HKEY key_ = nullptr;
};

// The type and data of a value, read as callers do: a size query, then the read.
inline LONG Query(HKEY key, const char* name, DWORD& type, Bytes& data) {
    auto& registry = platform::Registry();
    DWORD size = 0;
    type = REG_NONE;
    LONG result = registry.RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) return result;
    data.assign(size, 0xCC);
    result = registry.RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    data.resize(size);
    return result;
}

// String types pass through the ANSI code page on Windows, so their data is valid text.
inline void ValuesKeepTheirTypesAndSizes() {
    ScratchKey scratch;
    const DWORD number = 0x89ABCDEF;
    const Bytes dword(reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number) + 4);
    const struct {
        const char* name;
        DWORD type;
        Bytes data;
    } values[] = {
        {"Text", REG_SZ, BytesOf(std::string("Kestrava", 9))},
        {"Number", REG_DWORD, dword},
        {"Raw", REG_BINARY, {0x00, 0xFF, 0x80, 0x7F, 0x00}},
        {"List", REG_MULTI_SZ, BytesOf(std::string("ab\0cde\0\0", 8))},
        {"Nothing", REG_BINARY, {}},
    };
    for (const auto& value : values) ASSERT_EQ(scratch.Set(value.name, value.type, value.data), ERROR_SUCCESS);

    auto& registry = platform::Registry();
    for (const auto& value : values) {
        SCOPED_TRACE(value.name);
        DWORD type = REG_NONE;
        DWORD size = 0;
        EXPECT_EQ(registry.RegQueryValueExA(scratch.Handle(), value.name, nullptr, &type, nullptr, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, value.type);
        EXPECT_EQ(size, value.data.size());
        Bytes data;
        EXPECT_EQ(Query(scratch.Handle(), value.name, type, data), ERROR_SUCCESS);
        EXPECT_EQ(data, value.data);
        if (value.data.empty()) continue;

        // A short buffer gets ERROR_MORE_DATA and the size it needs.
        Bytes shortBuffer(value.data.size() - 1);
        size = static_cast<DWORD>(shortBuffer.size());
        EXPECT_EQ(registry.RegQueryValueExA(scratch.Handle(), value.name, nullptr, &type, shortBuffer.data(), &size),
                  ERROR_MORE_DATA);
        EXPECT_EQ(size, value.data.size());
    }

    // Names compare without regard to case; writing again replaces type and data.
    DWORD type = REG_NONE;
    Bytes data;
    EXPECT_EQ(Query(scratch.Handle(), "TEXT", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, values[0].data);
    ASSERT_EQ(scratch.Set("text", REG_DWORD, dword), ERROR_SUCCESS);
    EXPECT_EQ(Query(scratch.Handle(), "Text", type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, dword);
}

// The maximum name, class and data lengths of RegQueryInfoKeyA are not checked: the
// programs read only the two counts.
inline void MissingAndDeletedValuesAreNotFound() {
    ScratchKey scratch;
    auto& registry = platform::Registry();
    DWORD type = REG_NONE;
    DWORD size = 0;
    BYTE buffer[8] = {};
    EXPECT_EQ(registry.RegQueryValueExA(scratch.Handle(), "Missing", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    size = sizeof buffer;
    EXPECT_EQ(registry.RegQueryValueExA(scratch.Handle(), "Missing", nullptr, &type, buffer, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.RegQueryValueExA(scratch.Handle(), "", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.RegDeleteValueA(scratch.Handle(), "Missing"), ERROR_FILE_NOT_FOUND);

    auto counts = [&](DWORD& subKeys, DWORD& values) {
        subKeys = values = 0xFFFF;
        return registry.RegQueryInfoKeyA(scratch.Handle(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                         &values, nullptr, nullptr, nullptr, nullptr);
    };
    DWORD subKeys = 0;
    DWORD values = 0;
    ASSERT_EQ(counts(subKeys, values), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);

    ASSERT_EQ(scratch.Set("First", REG_BINARY, {1}), ERROR_SUCCESS);
    ASSERT_EQ(scratch.Set("Second", REG_BINARY, {2}), ERROR_SUCCESS);
    HKEY child = nullptr;
    ASSERT_EQ(registry.RegCreateKeyA(scratch.Handle(), "Child", &child), ERROR_SUCCESS);
    registry.RegCloseKey(child);
    ASSERT_EQ(counts(subKeys, values), ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u);
    EXPECT_EQ(values, 2u);

    EXPECT_EQ(registry.RegDeleteValueA(scratch.Handle(), "FIRST"), ERROR_SUCCESS);
    EXPECT_EQ(registry.RegDeleteValueA(scratch.Handle(), "First"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.RegQueryValueExA(scratch.Handle(), "First", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(counts(subKeys, values), ERROR_SUCCESS);
    EXPECT_EQ(values, 1u);
}

// Paths compare without regard to case and are relative to the root: a trailing
// backslash is ignored, a leading one refused. On the NT family a key with sub-keys is not deleted; values do
// not hold a key back.
inline void OnlyKeysWithoutSubKeysAreDeleted() {
    ScratchKey scratch;
    auto& registry = platform::Registry();
    const std::string child = ScratchKey::Path("Child");
    const std::string grandchild = ScratchKey::Path("Child\\Grandchild");
    HKEY key = nullptr;
    ASSERT_EQ(registry.RegCreateKeyA(HKEY_CURRENT_USER, grandchild.c_str(), &key), ERROR_SUCCESS);
    registry.RegCloseKey(key);
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, child.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    ASSERT_EQ(registry.RegSetValueExA(key, "Kept", 0, REG_BINARY, reinterpret_cast<const BYTE*>("x"), 1),
              ERROR_SUCCESS);
    registry.RegCloseKey(key);
    const char* otherCase = "SOFTWARE\\kestravabehaviour\\CHILD";
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, otherCase, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    BYTE kept = 0;
    DWORD size = sizeof kept;
    EXPECT_EQ(registry.RegQueryValueExA(key, "Kept", nullptr, nullptr, &kept, &size), ERROR_SUCCESS);
    EXPECT_EQ(kept, 'x');
    registry.RegCloseKey(key);
    ASSERT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, (child + "\\").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    registry.RegCloseKey(key);
    EXPECT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, ("\\" + child).c_str(), 0, KEY_READ, &key),
              ERROR_BAD_PATHNAME);

    EXPECT_EQ(registry.RegDeleteKeyA(HKEY_CURRENT_USER, child.c_str()), ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, grandchild.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    registry.RegCloseKey(key);

    EXPECT_EQ(registry.RegDeleteKeyA(HKEY_CURRENT_USER, grandchild.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(registry.RegDeleteKeyA(HKEY_CURRENT_USER, grandchild.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.RegDeleteKeyA(HKEY_CURRENT_USER, child.c_str()), ERROR_SUCCESS);
    key = nullptr;
    EXPECT_EQ(registry.RegOpenKeyExA(HKEY_CURRENT_USER, child.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

inline WORD Word(const BYTE* p) {
    WORD value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// The DACL of a self-relative descriptor; empty without one.
inline Bytes DaclOf(const Bytes& descriptor) {
    constexpr size_t kDaclOffset = 16;
    if (descriptor.size() < 20 || !(Word(&descriptor[2]) & SE_DACL_PRESENT)) return {};
    DWORD offset;
    std::memcpy(&offset, &descriptor[kDaclOffset], sizeof offset);
    if (offset == 0 || offset + 8 > descriptor.size()) return {};
    const BYTE* acl = &descriptor[offset];
    return Bytes(acl, acl + Word(acl + 2));
}

inline Bytes AdministratorsSid() {
    auto& registry = platform::Registry();
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use;
    EXPECT_FALSE(registry.LookupAccountNameA(nullptr, "Administrators", nullptr, &sidSize, nullptr, &domainSize, &use));
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    Bytes sid(sidSize);
    std::vector<char> domain(domainSize + 1);
    EXPECT_TRUE(registry.LookupAccountNameA(nullptr, "Administrators", sid.data(), &sidSize, domain.data(),
                                            &domainSize, &use));
    EXPECT_EQ(registry.GetLengthSid(sid.data()), sid.size());
    return sid;
}

// The descriptor is read with a size query first; a replaced DACL reads back as written.
// Only the form of a new key's descriptor is checked: the simulator gives it no DACL
// (every right), Windows and Wine one inherited from the parent.
inline void KeySecurityIsReadAndReplaced() {
    ScratchKey scratch;
    auto& registry = platform::Registry();
    DWORD size = 0;
    EXPECT_EQ(registry.RegGetKeySecurity(scratch.Handle(), DACL_SECURITY_INFORMATION, nullptr, &size),
              ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GE(size, 20u);
    Bytes before(size);
    DWORD shortSize = size - 1;
    EXPECT_EQ(registry.RegGetKeySecurity(scratch.Handle(), DACL_SECURITY_INFORMATION, before.data(), &shortSize),
              ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(shortSize, size);
    ASSERT_EQ(registry.RegGetKeySecurity(scratch.Handle(), DACL_SECURITY_INFORMATION, before.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, before.size());
    EXPECT_EQ(before[0], SECURITY_DESCRIPTOR_REVISION);
    EXPECT_TRUE(Word(&before[2]) & SE_SELF_RELATIVE);

    auto addAce = platform::imports::AddAccessAllowedAceEx();
    ASSERT_NE(addAce, nullptr);
    Bytes sid = AdministratorsSid();
    ASSERT_FALSE(sid.empty());
    Bytes acl(8 + 8 + sid.size());
    const BYTE flags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    ASSERT_TRUE(registry.InitializeAcl(acl.data(), static_cast<DWORD>(acl.size()), ACL_REVISION));
    ASSERT_TRUE(addAce(acl.data(), ACL_REVISION, flags, KEY_ALL_ACCESS, sid.data()));
    EXPECT_FALSE(addAce(acl.data(), ACL_REVISION, flags, KEY_READ, sid.data()));  // no room for a second
    SECURITY_DESCRIPTOR descriptor{};
    ASSERT_TRUE(registry.InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(registry.SetSecurityDescriptorDacl(&descriptor, TRUE, acl.data(), FALSE));
    ASSERT_EQ(registry.RegSetKeySecurity(scratch.Handle(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);

    size = 0;
    EXPECT_EQ(registry.RegGetKeySecurity(scratch.Handle(), DACL_SECURITY_INFORMATION, nullptr, &size),
              ERROR_INSUFFICIENT_BUFFER);
    Bytes after(size);
    ASSERT_EQ(registry.RegGetKeySecurity(scratch.Handle(), DACL_SECURITY_INFORMATION, after.data(), &size),
              ERROR_SUCCESS);
    EXPECT_TRUE(Word(&after[2]) & SE_DACL_PRESENT);
    EXPECT_EQ(DaclOf(after), acl);
}

}  // namespace registry_behaviour
