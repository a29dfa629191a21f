#include "sim/Registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

constexpr DWORD kAllRights = 0xFFFFFFFF;
constexpr size_t kHeaderSize = 20;  // self-relative descriptor header
constexpr size_t kAclHeaderSize = 8;
constexpr size_t kAceHeaderSize = 8;  // type, flags, size, mask
constexpr BYTE kAccessAllowedAceType = 0;
constexpr DWORD kGenericExecute = 0x20000000;
constexpr REGSAM kKeyExecute = 0x20019;

const std::vector<BYTE> kSystemSid = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};                     // S-1-5-18
const std::vector<BYTE> kAdministratorsSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};  // S-1-5-32-544

struct Account {
    const char* name;
    const char* domain;
    const std::vector<BYTE>* sid;
    SID_NAME_USE use;
};
const Account kAccounts[] = {
    {"system", "NT AUTHORITY", &kSystemSid, SidTypeWellKnownGroup},
    {"administrators", "BUILTIN", &kAdministratorsSid, SidTypeAlias},
};

WORD Get16(const BYTE* p) { WORD v; std::memcpy(&v, p, sizeof v); return v; }
DWORD Get32(const BYTE* p) { DWORD v; std::memcpy(&v, p, sizeof v); return v; }
void Put16(BYTE* p, WORD v) { std::memcpy(p, &v, sizeof v); }
void Put32(BYTE* p, DWORD v) { std::memcpy(p, &v, sizeof v); }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
    });
    return text;
}

bool IsPredefined(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }
std::string RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? "hklm" : "hkcu"; }

DWORD MapGeneric(DWORD mask) {
    DWORD mapped = mask & 0x0FFFFFFF;
    if (mask & GENERIC_ALL) mapped |= KEY_ALL_ACCESS;
    if (mask & GENERIC_READ) mapped |= KEY_READ;
    if (mask & GENERIC_WRITE) mapped |= KEY_WRITE;
    if (mask & kGenericExecute) mapped |= kKeyExecute;
    return mapped;
}

// An ACL of access-allowed entries.
std::vector<BYTE> AclOf(const std::vector<Files::Ace>& entries) {
    std::vector<BYTE> acl(kAclHeaderSize, 0);
    acl[0] = ACL_REVISION;
    for (const Files::Ace& entry : entries) {
        std::vector<BYTE> ace(kAceHeaderSize, 0);
        ace[0] = kAccessAllowedAceType;
        ace[1] = entry.flags;
        Put16(&ace[2], static_cast<WORD>(kAceHeaderSize + entry.sid.size()));
        Put32(&ace[4], entry.mask);
        ace.insert(ace.end(), entry.sid.begin(), entry.sid.end());
        acl.insert(acl.end(), ace.begin(), ace.end());
    }
    Put16(&acl[2], static_cast<WORD>(acl.size()));
    Put16(&acl[4], static_cast<WORD>(entries.size()));
    return acl;
}

// A self-relative descriptor holding a copy of the ACL (none: no DACL).
std::vector<BYTE> SelfRelative(const BYTE* acl) {
    std::vector<BYTE> block(kHeaderSize, 0);
    block[0] = SECURITY_DESCRIPTOR_REVISION;
    WORD control = SE_SELF_RELATIVE;
    if (acl != nullptr) {
        control |= SE_DACL_PRESENT;
        Put32(&block[16], kHeaderSize);
        block.insert(block.end(), acl, acl + Get16(acl + 2));
    }
    Put16(&block[2], control);
    return block;
}

// The DACL of a descriptor in either format; nullptr when none is present.
const BYTE* DaclOf(const BYTE* descriptor) {
    WORD control = Get16(descriptor + 2);
    if (!(control & SE_DACL_PRESENT)) return nullptr;
    if (control & SE_SELF_RELATIVE) {
        DWORD offset = Get32(descriptor + 16);
        return offset == 0 ? nullptr : descriptor + offset;
    }
    return static_cast<const BYTE*>(reinterpret_cast<const SECURITY_DESCRIPTOR*>(descriptor)->Dacl);
}

bool ValidAclRevision(DWORD revision) { return revision == ACL_REVISION || revision == 4; }

}  // namespace

struct Registry::KeyHandle : HandleObject {
    std::string name;
    DWORD granted = 0;
};

BOOL KAPI AddAccessAllowedAceExEntry(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid) {
    return Machine::Current().registry.AddAccessAllowedAceEx(acl, revision, flags, mask, sid);
}

Registry::Registry(Machine& machine) : machine_(machine) {
    keys_["hklm"].security = SelfRelative(nullptr);
    keys_["hkcu"].security = SelfRelative(nullptr);
    machine.modules.Export("advapi32.dll", "AddAccessAllowedAceEx",
                           ProcCast<FARPROC>(&AddAccessAllowedAceExEntry));
    platform::Current().registry = this;
}

Registry::~Registry() { platform::Current().registry = nullptr; }

bool Registry::Nt() { return machine_.systemInfo.PlatformId() == VER_PLATFORM_WIN32_NT; }

void Registry::SetError(DWORD error) { platform::Handles().SetLastError(error); }

LONG Registry::Resolve(HKEY root, const char* subKey, std::string& name) const {
    if (IsPredefined(root)) {
        name = RootName(root);
    } else {
        auto handle = machine_.handles.Get<KeyHandle>(root);
        if (handle == nullptr) return ERROR_INVALID_HANDLE;
        name = handle->name;
    }
    std::string path = subKey == nullptr ? "" : subKey;
    if (!path.empty() && path[0] == '\\') return ERROR_BAD_PATHNAME;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (!path.empty()) name += "\\" + Lower(path);
    return ERROR_SUCCESS;
}

void Registry::CreatePath(const std::string& name) {
    for (size_t position = name.find('\\'); ; position = name.find('\\', position + 1)) {
        Key& key = keys_[name.substr(0, position)];
        if (key.security.empty()) key.security = SelfRelative(nullptr);
        if (position == std::string::npos) return;
    }
}

DWORD Registry::Allowed(const Key& key) {
    if (!Nt()) return kAllRights;
    const BYTE* acl = DaclOf(key.security.data());
    if (acl == nullptr) return kAllRights;
    DWORD allowed = 0;
    size_t offset = kAclHeaderSize;
    for (WORD i = 0, count = Get16(acl + 4); i < count; ++i) {
        const BYTE* ace = acl + offset;
        const BYTE* sid = ace + kAceHeaderSize;
        bool administrators = std::equal(kAdministratorsSid.begin(), kAdministratorsSid.end(), sid);
        if (ace[0] == kAccessAllowedAceType && administrators) allowed |= MapGeneric(Get32(ace + 4));
        offset += Get16(ace + 2);
    }
    return allowed;
}

LONG Registry::OpenHandle(const std::string& name, DWORD access, HKEY* result) {
    DWORD allowed = Allowed(keys_.at(name));
    DWORD granted = MapGeneric(access & ~MAXIMUM_ALLOWED);
    if (access & MAXIMUM_ALLOWED) granted |= allowed;
    if (granted == 0 || (granted & ~allowed) != 0) return ERROR_ACCESS_DENIED;
    auto handle = std::make_shared<KeyHandle>();
    handle->name = name;
    handle->granted = granted;
    *result = machine_.handles.Add(handle);
    return ERROR_SUCCESS;
}

Registry::Key* Registry::Use(HKEY handle, DWORD right, LONG& error, std::string* name) {
    std::string keyName;
    DWORD granted = 0;
    if (IsPredefined(handle)) {
        keyName = RootName(handle);
        granted = Allowed(keys_.at(keyName));
    } else {
        auto object = machine_.handles.Get<KeyHandle>(handle);
        if (object == nullptr) {
            error = ERROR_INVALID_HANDLE;
            return nullptr;
        }
        keyName = object->name;
        granted = object->granted;
    }
    if ((granted & right) != right) {
        error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    if (name != nullptr) *name = keyName;
    error = ERROR_SUCCESS;
    return &keys_.at(keyName);
}

void Registry::AddKey(HKEY root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    if (Resolve(root, path.c_str(), name) == ERROR_SUCCESS) CreatePath(name);
}

bool Registry::KeyExists(HKEY root, const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    return Resolve(root, path.c_str(), name) == ERROR_SUCCESS && keys_.count(name) != 0;
}

void Registry::PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                        const std::vector<BYTE>& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string keyName;
    if (Resolve(root, path.c_str(), keyName) != ERROR_SUCCESS) return;
    CreatePath(keyName);
    keys_[keyName].values[Lower(name)] = Value{type, data};
}

std::string Registry::Dump(HKEY root, const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string top;
    if (Resolve(root, path.c_str(), top) != ERROR_SUCCESS) return "";
    std::string text;
    for (const auto& key : keys_) {
        const std::string& name = key.first;
        if (name != top && name.compare(0, top.size() + 1, top + "\\") != 0) continue;
        text += "[" + name + "]\n";
        for (const auto& value : key.second.values) {
            char type[16];
            std::snprintf(type, sizeof type, " %lu:", static_cast<unsigned long>(value.second.type));
            text += value.first + type;
            for (BYTE byte : value.second.data) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02x", byte);
                text += hex;
            }
            text += "\n";
        }
    }
    return text;
}

std::vector<std::string> Registry::ChildrenOf(const std::string& name) const {
    std::vector<std::string> children;
    const std::string prefix = name + "\\";
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
         ++it) {
        if (it->first.find('\\', prefix.size()) == std::string::npos) children.push_back(it->first);
    }
    return children;
}

bool Registry::ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD& type,
                         std::vector<BYTE>& data) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string keyName;
    if (Resolve(root, path.c_str(), keyName) != ERROR_SUCCESS) return false;
    auto key = keys_.find(keyName);
    if (key == keys_.end()) return false;
    auto value = key->second.values.find(Lower(name));
    if (value == key->second.values.end()) return false;
    type = value->second.type;
    data = value->second.data;
    return true;
}

void Registry::Grant(HKEY root, const std::string& path, DWORD mask) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    if (Resolve(root, path.c_str(), name) != ERROR_SUCCESS) return;
    CreatePath(name);
    keys_[name].security = DescriptorGranting(mask);
}

std::vector<BYTE> Registry::SecurityOf(HKEY root, const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    if (Resolve(root, path.c_str(), name) != ERROR_SUCCESS) return {};
    auto key = keys_.find(name);
    return key == keys_.end() ? std::vector<BYTE>() : key->second.security;
}

DWORD Registry::AccessOf(HKEY root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    if (Resolve(root, path.c_str(), name) != ERROR_SUCCESS) return 0;
    auto key = keys_.find(name);
    return key == keys_.end() ? 0 : Allowed(key->second);
}

std::vector<std::string> Registry::SecurityWrites() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return securityWrites_;
}

void Registry::DenyValueQuery(HKEY root, const std::string& path, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string keyName;
    if (Resolve(root, path.c_str(), keyName) != ERROR_SUCCESS) return;
    auto key = keys_.find(keyName);
    if (key == keys_.end()) return;
    auto value = key->second.values.find(Lower(name));
    if (value != key->second.values.end()) value->second.queryDenied = true;
}

void Registry::FailAccountLookup(const std::string& account) {
    std::lock_guard<std::mutex> lock(mutex_);
    failedAccounts_.insert(Lower(account));
}

std::vector<BYTE> Registry::DescriptorGranting(DWORD mask) {
    return SelfRelative(AclOf({{kAdministratorsSid, mask, 0}}).data());
}

LONG Registry::RegOpenKeyExA(HKEY root, const char* subKey, DWORD, REGSAM access, HKEY* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    LONG error = Resolve(root, subKey, name);
    if (error != ERROR_SUCCESS) return error;
    if (keys_.count(name) == 0) return ERROR_FILE_NOT_FOUND;
    return OpenHandle(name, access, result);
}

LONG Registry::RegCreateKeyA(HKEY root, const char* subKey, HKEY* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    LONG error = Resolve(root, subKey, name);
    if (error != ERROR_SUCCESS) return error;
    if (keys_.count(name) == 0) {
        std::string parent = name;
        while (keys_.count(parent) == 0) parent.erase(parent.rfind('\\'));
        if ((Allowed(keys_.at(parent)) & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
        CreatePath(name);
    }
    return OpenHandle(name, MAXIMUM_ALLOWED, result);
}

LONG Registry::RegCloseKey(HKEY key) {
    if (IsPredefined(key)) return ERROR_SUCCESS;
    if (machine_.handles.Get<KeyHandle>(key) == nullptr) return ERROR_INVALID_HANDLE;
    machine_.handles.CloseHandle(key);
    return ERROR_SUCCESS;
}

LONG Registry::RegQueryValueExA(HKEY handle, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                                DWORD* size) {
    if (reserved != nullptr || (data != nullptr && size == nullptr)) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    Key* key = Use(handle, KEY_QUERY_VALUE, error);
    if (key == nullptr) return error;
    auto value = key->values.find(Lower(name == nullptr ? "" : name));
    if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
    if (value->second.queryDenied) return ERROR_ACCESS_DENIED;
    if (type != nullptr) *type = value->second.type;
    const std::vector<BYTE>& bytes = value->second.data;
    DWORD length = static_cast<DWORD>(bytes.size());
    if (data != nullptr) {
        if (*size < length) {
            *size = length;
            return ERROR_MORE_DATA;
        }
        std::copy(bytes.begin(), bytes.end(), data);
    }
    if (size != nullptr) *size = length;
    return ERROR_SUCCESS;
}

LONG Registry::RegSetValueExA(HKEY handle, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                              DWORD size) {
    if (reserved != 0 || (data == nullptr && size != 0)) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    Key* key = Use(handle, KEY_SET_VALUE, error);
    if (key == nullptr) return error;
    key->values[Lower(name == nullptr ? "" : name)] = Value{type, std::vector<BYTE>(data, data + size)};
    return ERROR_SUCCESS;
}

LONG Registry::RegDeleteValueA(HKEY handle, const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    Key* key = Use(handle, KEY_SET_VALUE, error);
    if (key == nullptr) return error;
    return key->values.erase(Lower(name == nullptr ? "" : name)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG Registry::RegDeleteKeyA(HKEY root, const char* subKey) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string name;
    LONG error = Resolve(root, subKey, name);
    if (error != ERROR_SUCCESS) return error;
    if (name == RootName(root)) return ERROR_ACCESS_DENIED;
    auto key = keys_.find(name);
    if (key == keys_.end()) return ERROR_FILE_NOT_FOUND;
    const bool nt = Nt();
    if (nt && ((Allowed(key->second) & DELETE) == 0 || !ChildrenOf(name).empty())) return ERROR_ACCESS_DENIED;
    // The 9x family deletes the whole tree below the key.
    const std::string prefix = name + "\\";
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
        it = keys_.erase(it);
    }
    keys_.erase(name);
    return ERROR_SUCCESS;
}

LONG Registry::RegQueryInfoKeyA(HKEY handle, char* className, DWORD* classSize, DWORD*, DWORD* subKeys,
                                DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values,
                                DWORD* maxValueNameLength, DWORD* maxValueLength, DWORD* securityDescriptorSize,
                                FILETIME* lastWriteTime) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    std::string name;
    Key* key = Use(handle, KEY_QUERY_VALUE, error, &name);
    if (key == nullptr) return error;
    if (className != nullptr && classSize != nullptr && *classSize > 0) className[0] = '\0';
    for (DWORD* unknown : {classSize, maxSubKeyLength, maxClassLength, maxValueNameLength, maxValueLength,
                           securityDescriptorSize}) {
        if (unknown != nullptr) *unknown = 0;
    }
    if (subKeys != nullptr) *subKeys = static_cast<DWORD>(ChildrenOf(name).size());
    if (values != nullptr) *values = static_cast<DWORD>(key->values.size());
    if (lastWriteTime != nullptr) *lastWriteTime = FILETIME{};
    return ERROR_SUCCESS;
}

LONG Registry::RegGetKeySecurity(HKEY handle, DWORD, PSECURITY_DESCRIPTOR descriptor, DWORD* size) {
    if (!Nt()) return ERROR_CALL_NOT_IMPLEMENTED;
    if (size == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    Key* key = Use(handle, READ_CONTROL, error);
    if (key == nullptr) return error;
    DWORD length = static_cast<DWORD>(key->security.size());
    if (descriptor == nullptr || *size < length) {
        *size = length;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::copy(key->security.begin(), key->security.end(), static_cast<BYTE*>(descriptor));
    *size = length;
    return ERROR_SUCCESS;
}

LONG Registry::RegSetKeySecurity(HKEY handle, DWORD information, PSECURITY_DESCRIPTOR descriptor) {
    if (!Nt()) return ERROR_CALL_NOT_IMPLEMENTED;
    const BYTE* bytes = static_cast<const BYTE*>(descriptor);
    if (bytes == nullptr || bytes[0] != SECURITY_DESCRIPTOR_REVISION) return ERROR_INVALID_PARAMETER;
    const BYTE* acl = DaclOf(bytes);
    if (acl != nullptr && !ValidAclRevision(acl[0])) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    std::string name;
    Key* key = Use(handle, WRITE_DAC, error, &name);
    if (key == nullptr) return error;
    if (information & DACL_SECURITY_INFORMATION) {
        key->security = SelfRelative(acl);
        securityWrites_.push_back(name.substr(name.find('\\') + 1));
    }
    return ERROR_SUCCESS;
}

BOOL Registry::LookupAccountNameA(const char*, const char* accountName, PSID sid, DWORD* sidSize,
                                  char* domainName, DWORD* domainSize, SID_NAME_USE* use) {
    if (!Nt()) {
        SetError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    if (accountName == nullptr || sidSize == nullptr || domainSize == nullptr || use == nullptr) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string wanted = Lower(accountName);
    const Account* account = nullptr;
    for (const Account& candidate : kAccounts) {
        if (wanted == candidate.name) account = &candidate;
    }
    if (account == nullptr || failedAccounts_.count(wanted) != 0) {
        SetError(ERROR_NONE_MAPPED);
        return FALSE;
    }
    DWORD sidNeeded = static_cast<DWORD>(account->sid->size());
    DWORD domainLength = static_cast<DWORD>(std::strlen(account->domain));
    if (sid == nullptr || domainName == nullptr || *sidSize < sidNeeded || *domainSize <= domainLength) {
        *sidSize = sidNeeded;
        *domainSize = domainLength + 1;
        SetError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::copy(account->sid->begin(), account->sid->end(), static_cast<BYTE*>(sid));
    std::memcpy(domainName, account->domain, domainLength + 1);
    *sidSize = sidNeeded;
    *domainSize = domainLength;
    *use = account->use;
    return TRUE;
}

DWORD Registry::GetLengthSid(PSID sid) { return 8 + 4 * static_cast<const BYTE*>(sid)[1]; }

BOOL Registry::InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
    if (revision != SECURITY_DESCRIPTOR_REVISION) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* absolute = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
    *absolute = SECURITY_DESCRIPTOR{};
    absolute->Revision = SECURITY_DESCRIPTOR_REVISION;
    return TRUE;
}

BOOL Registry::SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl,
                                         BOOL defaulted) {
    auto* absolute = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
    if (absolute->Revision != SECURITY_DESCRIPTOR_REVISION || (absolute->Control & SE_SELF_RELATIVE)) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    constexpr WORD kDaclDefaulted = 0x0008;
    absolute->Control &= static_cast<WORD>(~(SE_DACL_PRESENT | kDaclDefaulted));
    if (present) absolute->Control |= SE_DACL_PRESENT;
    if (present && defaulted) absolute->Control |= kDaclDefaulted;
    absolute->Dacl = present ? dacl : nullptr;
    return TRUE;
}

BOOL Registry::SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL) {
    auto* absolute = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
    if (absolute->Revision != SECURITY_DESCRIPTOR_REVISION || (absolute->Control & SE_SELF_RELATIVE)) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    absolute->Owner = owner;
    return TRUE;
}

BOOL Registry::SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, WORD bitsOfInterest, WORD bitsToSet) {
    auto* absolute = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
    absolute->Control = static_cast<WORD>((absolute->Control & ~bitsOfInterest) | (bitsToSet & bitsOfInterest));
    return TRUE;
}

BOOL Registry::GetKernelObjectSecurity(HANDLE object, DWORD information, PSECURITY_DESCRIPTOR descriptor,
                                       DWORD length, DWORD* lengthNeeded) {
    Files::Security security;
    if (!machine_.files.SecurityOf(object, security)) {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const bool dacl = (information & DACL_SECURITY_INFORMATION) != 0;
    std::vector<BYTE> block = SelfRelative(dacl && (security.control & SE_DACL_PRESENT) ? AclOf(security.dacl).data()
                                                                                       : nullptr);
    if (dacl) Put16(&block[2], static_cast<WORD>(Get16(&block[2]) | (security.control & SE_DACL_PROTECTED)));
    if (information & OWNER_SECURITY_INFORMATION) {
        Put32(&block[4], static_cast<DWORD>(block.size()));
        block.insert(block.end(), security.owner.begin(), security.owner.end());
    }
    *lengthNeeded = static_cast<DWORD>(block.size());
    if (length < block.size() || descriptor == nullptr) {
        SetError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(descriptor, block.data(), block.size());
    return TRUE;
}

BOOL Registry::GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID* owner, BOOL* defaulted) {
    auto* bytes = static_cast<BYTE*>(descriptor);
    if (Get16(bytes + 2) & SE_SELF_RELATIVE) {
        const DWORD offset = Get32(bytes + 4);
        *owner = offset == 0 ? nullptr : bytes + offset;
    } else {
        *owner = static_cast<SECURITY_DESCRIPTOR*>(descriptor)->Owner;
    }
    *defaulted = FALSE;
    return TRUE;
}

BOOL Registry::GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL* present, PACL* dacl,
                                         BOOL* defaulted) {
    const BYTE* bytes = static_cast<const BYTE*>(descriptor);
    *present = (Get16(bytes + 2) & SE_DACL_PRESENT) ? TRUE : FALSE;
    *dacl = const_cast<BYTE*>(DaclOf(bytes));
    *defaulted = FALSE;
    return TRUE;
}

BOOL Registry::GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, WORD* control, DWORD* revision) {
    const BYTE* bytes = static_cast<const BYTE*>(descriptor);
    *control = Get16(bytes + 2);
    *revision = bytes[0];
    return TRUE;
}

BOOL Registry::InitializeAcl(PACL acl, DWORD size, DWORD revision) {
    if (!ValidAclRevision(revision) || size < kAclHeaderSize || size > 0xFFFF) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BYTE* bytes = static_cast<BYTE*>(acl);
    std::memset(bytes, 0, kAclHeaderSize);
    bytes[0] = static_cast<BYTE>(revision);
    Put16(bytes + 2, static_cast<WORD>(size));
    return TRUE;
}

BOOL Registry::AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid) {
    BYTE* bytes = static_cast<BYTE*>(acl);
    if (!ValidAclRevision(revision) || !ValidAclRevision(bytes[0]) || sid == nullptr) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const WORD aclSize = Get16(bytes + 2);
    const WORD count = Get16(bytes + 4);
    size_t offset = kAclHeaderSize;
    for (WORD i = 0; i < count; ++i) offset += Get16(bytes + offset + 2);
    const DWORD sidLength = GetLengthSid(sid);
    const size_t aceSize = kAceHeaderSize + sidLength;
    if (offset + aceSize > aclSize) {
        SetError(ERROR_ALLOTTED_SPACE_EXCEEDED);
        return FALSE;
    }
    BYTE* ace = bytes + offset;
    ace[0] = kAccessAllowedAceType;
    ace[1] = static_cast<BYTE>(flags);
    Put16(ace + 2, static_cast<WORD>(aceSize));
    Put32(ace + 4, mask);
    std::memcpy(ace + kAceHeaderSize, sid, sidLength);
    Put16(bytes + 4, static_cast<WORD>(count + 1));
    return TRUE;
}

}  // namespace sim
