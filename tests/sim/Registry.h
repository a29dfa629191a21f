// The registry and key security of the simulated machine. Keys live under
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER; paths compare without regard to
// letter case. Each key keeps a self-relative security descriptor; the rights the
// caller gets are those its DACL allows to Administrators (no DACL: every right).
// On the 9x family nothing is checked and the security calls are not implemented.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace sim {
using namespace win;

class Machine;

class Registry : public platform::IRegistry {
public:
    explicit Registry(Machine& machine);
    ~Registry() override;

    // Set-up and inspection for tests; missing parents are created.
    void AddKey(HKEY root, const std::string& path);
    bool KeyExists(HKEY root, const std::string& path) const;
    void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                  const std::vector<BYTE>& data);
    // False when the key or value is missing.
    bool ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD& type,
                   std::vector<BYTE>& data) const;
    // Every key at and below the path with its values (names, types, data), one line each,
    // so that two states of a tree compare as text; empty when the key is missing.
    std::string Dump(HKEY root, const std::string& path) const;
    // Replaces the key's DACL with one allowing the given rights to Administrators.
    void Grant(HKEY root, const std::string& path, DWORD mask);
    std::vector<BYTE> SecurityOf(HKEY root, const std::string& path) const;
    // Rights a fresh open of the key would get.
    DWORD AccessOf(HKEY root, const std::string& path);
    // Paths (lower case) in the order RegSetKeySecurity changed them.
    std::vector<std::string> SecurityWrites() const;
    // Makes RegQueryValueExA of an existing value fail with ERROR_ACCESS_DENIED until it is written.
    void DenyValueQuery(HKEY root, const std::string& path, const std::string& name);
    // Makes LookupAccountNameA fail for this account with ERROR_NONE_MAPPED.
    void FailAccountLookup(const std::string& account);

    // A self-relative descriptor whose DACL allows the mask to Administrators.
    static std::vector<BYTE> DescriptorGranting(DWORD mask);

    LONG RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result) override;
    LONG RegCreateKeyA(HKEY root, const char* subKey, HKEY* result) override;
    LONG RegCloseKey(HKEY key) override;
    LONG RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* size) override;
    LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                        DWORD size) override;
    LONG RegDeleteValueA(HKEY key, const char* name) override;
    LONG RegDeleteKeyA(HKEY root, const char* subKey) override;
    LONG RegQueryInfoKeyA(HKEY key, char* className, DWORD* classSize, DWORD* reserved, DWORD* subKeys,
                          DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength,
                          DWORD* maxValueLength, DWORD* securityDescriptorSize, FILETIME* lastWriteTime) override;
    LONG RegGetKeySecurity(HKEY key, DWORD information, PSECURITY_DESCRIPTOR descriptor, DWORD* size) override;
    LONG RegSetKeySecurity(HKEY key, DWORD information, PSECURITY_DESCRIPTOR descriptor) override;
    BOOL LookupAccountNameA(const char* systemName, const char* accountName, PSID sid, DWORD* sidSize,
                            char* domainName, DWORD* domainSize, SID_NAME_USE* use) override;
    DWORD GetLengthSid(PSID sid) override;
    BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) override;
    BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl,
                                   BOOL defaulted) override;
    BOOL InitializeAcl(PACL acl, DWORD size, DWORD revision) override;
    BOOL SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL defaulted) override;
    BOOL SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, WORD bitsOfInterest, WORD bitsToSet) override;
    // Of a file or folder handle: the owner and the DACL, in a self-relative descriptor.
    BOOL GetKernelObjectSecurity(HANDLE object, DWORD information, PSECURITY_DESCRIPTOR descriptor, DWORD length,
                                 DWORD* lengthNeeded) override;
    BOOL GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID* owner, BOOL* defaulted) override;
    BOOL GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL* present, PACL* dacl,
                                   BOOL* defaulted) override;
    BOOL GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, WORD* control, DWORD* revision) override;
    // Exported from advapi32.dll.
    BOOL AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid);

private:
    struct Value {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        bool queryDenied = false;
    };
    struct Key {
        std::map<std::string, Value> values;  // by lower-case name
        std::vector<BYTE> security;           // self-relative descriptor
    };
    struct KeyHandle;

    bool Nt();
    // Full lower-case key name ("hklm\a\b") of root plus sub-key; fails for an unknown
    // root or a sub-key starting with '\'.
    LONG Resolve(HKEY root, const char* subKey, std::string& name) const;
    void CreatePath(const std::string& name);
    // The names of the keys directly below a key.
    std::vector<std::string> ChildrenOf(const std::string& name) const;
    DWORD Allowed(const Key& key);
    LONG OpenHandle(const std::string& name, DWORD access, HKEY* result);
    // The key behind an open handle with the given right; nullptr with the error set.
    Key* Use(HKEY handle, DWORD right, LONG& error, std::string* name = nullptr);
    void SetError(DWORD error);

    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<std::string, Key> keys_;
    std::vector<std::string> securityWrites_;
    std::set<std::string> failedAccounts_;
};

}  // namespace sim
