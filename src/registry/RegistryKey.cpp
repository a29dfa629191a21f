#include "registry/RegistryKey.h"

#include "platform/Platform.h"
#include "platform/ScopedRegistryKey.h"
#include "platform/WindowsFamily.h"
#include "registry/Dacl.h"

using namespace win;

namespace {

constexpr DWORD kOpenOptions = 1;
constexpr DWORD kStrictLimit = 1024;
constexpr BYTE kInheritFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

struct WideningAccount {
    const char* name;
    DWORD mask;
};
constexpr WideningAccount kWideningAccounts[] = {
    {"SYSTEM", GENERIC_ALL},
    {"Administrators", GENERIC_ALL | KEY_ALL_ACCESS},
};
// The widening DACL is sized at 24 bytes per account besides its SID, which leaves 24 bytes
// beyond its two entries; widened keys carry it so.
constexpr DWORD kWideningSpareBytes = 24;

std::string WithoutLeadingBackslash(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

// The SID of a local account; false when it cannot be looked up.
bool AccountSid(const char* account, std::vector<BYTE>& sid) {
    auto& registry = platform::Registry();
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use;
    if (!registry.LookupAccountNameA(nullptr, account, nullptr, &sidSize, nullptr, &domainSize, &use) &&
        platform::Handles().GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    if (sidSize == 0) return false;
    sid.assign(sidSize, 0);
    std::vector<char> domain(domainSize + 1, '\0');
    if (!registry.LookupAccountNameA(nullptr, account, sid.data(), &sidSize, domain.data(), &domainSize, &use)) {
        return false;
    }
    sid.resize(registry.GetLengthSid(sid.data()));
    return true;
}

// An absolute descriptor whose DACL gives full access to SYSTEM and Administrators.
// It points into its own DACL buffer, so it is built in place and never copied.
struct WideningDescriptor {
    SECURITY_DESCRIPTOR descriptor{};
    std::vector<BYTE> dacl;

    WideningDescriptor() = default;
    WideningDescriptor(const WideningDescriptor&) = delete;
    WideningDescriptor& operator=(const WideningDescriptor&) = delete;

    bool Build() {
        std::vector<AccessGrant> grants;
        for (const WideningAccount& account : kWideningAccounts) {
            std::vector<BYTE> sid;
            if (!AccountSid(account.name, sid)) return false;
            grants.push_back({sid, account.mask, kInheritFlags});
        }
        auto& registry = platform::Registry();
        return BuildDacl(grants, dacl, kWideningSpareBytes) &&
               registry.InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
               registry.SetSecurityDescriptorDacl(&descriptor, TRUE, dacl.data(), FALSE);
    }
};

// The key opened with the given options and access; empty when it cannot be.
platform::ScopedRegistryKey OpenKey(HKEY root, const std::string& path, DWORD options, REGSAM access) {
    HKEY key = nullptr;
    if (platform::Registry().RegOpenKeyExA(root, path.c_str(), options, access, &key) != ERROR_SUCCESS) return {};
    return platform::ScopedRegistryKey(key);
}

// Whether the key exists, and whether full access needs its security widened first.
bool Probe(HKEY root, const std::string& path, bool& needsWidening) {
    needsWidening = false;
    if (!IsWindowsNt()) return static_cast<bool>(OpenKey(root, path, kOpenOptions, KEY_QUERY_VALUE));
    if (OpenKey(root, path, kOpenOptions, KEY_ALL_ACCESS)) return true;
    needsWidening = static_cast<bool>(OpenKey(root, path, 0, READ_CONTROL));
    return needsWidening;
}

}  // namespace

bool IsWindowsNt() { return platform::IsNtFamily(); }

RegistryKey::~RegistryKey() { Close(); }

bool RegistryKey::Open(HKEY root, const std::string& path, bool create, bool readOnly) {
    if (key_) return false;
    const std::string subKey = WithoutLeadingBackslash(path);
    bool needsWidening = false;
    if (!Probe(root, subKey, needsWidening)) {
        created_ = create && Create(root, subKey);
        return created_;
    }
    if (needsWidening) Widen(root, subKey);
    root_ = root;
    path_ = subKey;
    key_ = OpenKey(root, subKey, kOpenOptions, readOnly ? KEY_QUERY_VALUE : KEY_ALL_ACCESS);
    return IsOpen();
}

bool RegistryKey::Create(HKEY root, const std::string& path) {
    if (key_) return false;
    root_ = root;
    path_ = WithoutLeadingBackslash(path);
    HKEY created = nullptr;
    if (platform::Registry().RegCreateKeyA(root, path_.c_str(), &created) != ERROR_SUCCESS) return false;
    key_ = platform::ScopedRegistryKey(created);
    return true;
}

bool RegistryKey::Close() {
    key_.Reset();
    created_ = false;
    Restore();
    path_.clear();
    return true;
}

// Replaces the DACL of every level of the path, top first, journalling each one
// replaced. Stops at the first level that cannot be opened for WRITE_DAC or refuses
// the new DACL; what was journalled so far stays for the restore.
void RegistryKey::Widen(HKEY root, const std::string& path) {
    if (!IsWindowsNt()) return;
    WideningDescriptor widening;
    if (!widening.Build()) return;
    for (size_t position = path.find('\\');; position = path.find('\\', position + 1)) {
        const bool last = position == std::string::npos;
        const std::string level = last ? path : path.substr(0, position);
        const platform::ScopedRegistryKey key = OpenKey(root, level, 0, WRITE_DAC | READ_CONTROL);
        if (!key || !ReplaceDacl(key.Get(), root, level, &widening.descriptor) || last) return;
    }
}

bool RegistryKey::ReplaceDacl(HKEY key, HKEY root, const std::string& level, PSECURITY_DESCRIPTOR widening) {
    auto& registry = platform::Registry();
    DWORD size = 0;
    registry.RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    if (size == 0) return true;
    std::vector<BYTE> saved(size);
    if (registry.RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data(), &size) != ERROR_SUCCESS) {
        return true;
    }
    journal_.push_back(JournalEntry{root, level, std::move(saved)});
    return registry.RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, widening) == ERROR_SUCCESS;
}

void RegistryKey::Restore() {
    for (auto entry = journal_.rbegin(); entry != journal_.rend(); ++entry) {
        const platform::ScopedRegistryKey key = OpenKey(entry->root, entry->path, 0, WRITE_DAC);
        if (key) platform::Registry().RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, entry->descriptor.data());
    }
    journal_.clear();
}

bool RegistryKey::QueryString(const std::string& name, std::string& text, bool strict) {
    text.clear();
    if (!key_) return false;
    auto& registry = platform::Registry();
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (registry.RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    const bool multi = type == REG_MULTI_SZ;
    if (strict && (size > kStrictLimit || multi)) return false;
    std::vector<BYTE> buffer(size + 2, 0);
    if (registry.RegQueryValueExA(key_.Get(), name.c_str(), nullptr, nullptr, buffer.data(), &size) != ERROR_SUCCESS) {
        return false;
    }
    if (multi) {
        for (DWORD i = 0; i < size; ++i) {
            if (buffer[i] == 0) buffer[i] = '\n';
        }
    }
    buffer[size] = 0;
    text = reinterpret_cast<const char*>(buffer.data());
    return true;
}

bool RegistryKey::QueryDword(const std::string& name, DWORD& value) {
    value = 0;
    if (!key_) return false;
    DWORD size = sizeof(value);
    if (platform::Registry().RegQueryValueExA(key_.Get(), name.c_str(), nullptr, nullptr,
                                              reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
        value = 0;
        return false;
    }
    return true;
}

bool RegistryKey::SetString(const std::string& name, const std::string& text) {
    return SetValue(name, text.c_str(), static_cast<DWORD>(text.size()), REG_SZ);
}

bool RegistryKey::SetDword(const std::string& name, DWORD value) {
    return SetValue(name, &value, sizeof(value), REG_DWORD);
}

bool RegistryKey::SetValue(const std::string& name, const void* data, DWORD size, DWORD type) {
    if (!key_) return false;
    return platform::Registry().RegSetValueExA(key_.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                               size) == ERROR_SUCCESS;
}

bool RegistryKey::QueryValue(const std::string& name, DWORD& type, std::vector<BYTE>& data) {
    data.clear();
    if (!key_) return false;
    auto& registry = platform::Registry();
    DWORD size = 0;
    if (registry.RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    data.resize(size);
    if (registry.RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        data.clear();
        return false;
    }
    data.resize(size);
    return true;
}

bool RegistryKey::DeleteValue(const std::string& name) {
    return key_ && platform::Registry().RegDeleteValueA(key_.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool RegistryKey::IsEmpty() {
    DWORD subKeys = 0;
    DWORD values = 0;
    return key_ &&
           platform::Registry().RegQueryInfoKeyA(key_.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                                 &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys == 0 && values == 0;
}

bool DeleteEmptyKey(HKEY root, const std::string& path) {
    RegistryKey key;
    const bool empty = key.Open(root, path, false, false) && key.IsEmpty();
    key.Close();
    return empty && platform::Registry().RegDeleteKeyA(root, WithoutLeadingBackslash(path).c_str()) == ERROR_SUCCESS;
}

bool RegistryKey::ValueExists(const std::string& name) { return Presence(name) == ValuePresence::Present; }

ValuePresence RegistryKey::Presence(const std::string& name) {
    if (!key_) return ValuePresence::Unreadable;
    switch (platform::Registry().RegQueryValueExA(key_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr)) {
        case ERROR_SUCCESS:
            return ValuePresence::Present;
        case ERROR_FILE_NOT_FOUND:
            return ValuePresence::Missing;
        default:
            return ValuePresence::Unreadable;
    }
}
