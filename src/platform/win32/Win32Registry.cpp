// Registry, key security and account look-up.
#include "platform/RuntimeImports.h"
#include "platform/win32/Win32.h"

KESTRAVA_SAME_LAYOUT(SECURITY_DESCRIPTOR);
static_assert(sizeof(win::SID_NAME_USE) == sizeof(::SID_NAME_USE), "SID_NAME_USE size differs");

namespace {

::HKEY Key(win::HKEY key) { return static_cast<::HKEY>(key); }
::HKEY* KeyOut(win::HKEY* key) { return reinterpret_cast<::HKEY*>(key); }

class Win32Registry : public platform::IRegistry {
public:
    win::LONG RegOpenKeyExA(win::HKEY root, const char* subKey, win::DWORD options, win::REGSAM access,
                            win::HKEY* result) override {
        return ::RegOpenKeyExA(Key(root), subKey, options, access, KeyOut(result));
    }
    win::LONG RegCreateKeyA(win::HKEY root, const char* subKey, win::HKEY* result) override {
        return ::RegCreateKeyA(Key(root), subKey, KeyOut(result));
    }
    win::LONG RegCloseKey(win::HKEY key) override { return ::RegCloseKey(Key(key)); }
    win::LONG RegQueryValueExA(win::HKEY key, const char* name, win::DWORD* reserved, win::DWORD* type,
                               win::BYTE* data, win::DWORD* size) override {
        return ::RegQueryValueExA(Key(key), name, reserved, type, data, size);
    }
    win::LONG RegSetValueExA(win::HKEY key, const char* name, win::DWORD reserved, win::DWORD type,
                             const win::BYTE* data, win::DWORD size) override {
        return ::RegSetValueExA(Key(key), name, reserved, type, data, size);
    }
    win::LONG RegDeleteValueA(win::HKEY key, const char* name) override { return ::RegDeleteValueA(Key(key), name); }
    win::LONG RegDeleteKeyA(win::HKEY root, const char* subKey) override { return ::RegDeleteKeyA(Key(root), subKey); }
    win::LONG RegQueryInfoKeyA(win::HKEY key, char* className, win::DWORD* classSize, win::DWORD* reserved,
                               win::DWORD* subKeys, win::DWORD* maxSubKeyLength, win::DWORD* maxClassLength,
                               win::DWORD* values, win::DWORD* maxValueNameLength, win::DWORD* maxValueLength,
                               win::DWORD* securityDescriptorSize, win::FILETIME* lastWriteTime) override {
        return ::RegQueryInfoKeyA(Key(key), className, classSize, reserved, subKeys, maxSubKeyLength, maxClassLength,
                                  values, maxValueNameLength, maxValueLength, securityDescriptorSize,
                                  reinterpret_cast<::FILETIME*>(lastWriteTime));
    }
    win::LONG RegGetKeySecurity(win::HKEY key, win::DWORD information, win::PSECURITY_DESCRIPTOR descriptor,
                                win::DWORD* size) override {
        return ::RegGetKeySecurity(Key(key), information, descriptor, size);
    }
    win::LONG RegSetKeySecurity(win::HKEY key, win::DWORD information,
                                win::PSECURITY_DESCRIPTOR descriptor) override {
        return ::RegSetKeySecurity(Key(key), information, descriptor);
    }
    win::BOOL LookupAccountNameA(const char* systemName, const char* accountName, win::PSID sid,
                                 win::DWORD* sidSize, char* domainName, win::DWORD* domainSize,
                                 win::SID_NAME_USE* use) override {
        return ::LookupAccountNameA(systemName, accountName, sid, sidSize, domainName, domainSize,
                                    reinterpret_cast<::SID_NAME_USE*>(use));
    }
    win::DWORD GetLengthSid(win::PSID sid) override { return ::GetLengthSid(sid); }
    win::BOOL InitializeSecurityDescriptor(win::PSECURITY_DESCRIPTOR descriptor, win::DWORD revision) override {
        return ::InitializeSecurityDescriptor(descriptor, revision);
    }
    win::BOOL SetSecurityDescriptorDacl(win::PSECURITY_DESCRIPTOR descriptor, win::BOOL present, win::PACL dacl,
                                        win::BOOL defaulted) override {
        return ::SetSecurityDescriptorDacl(descriptor, present, static_cast<::PACL>(dacl), defaulted);
    }
    win::BOOL InitializeAcl(win::PACL acl, win::DWORD size, win::DWORD revision) override {
        return ::InitializeAcl(static_cast<::PACL>(acl), size, revision);
    }

    win::BOOL SetSecurityDescriptorOwner(win::PSECURITY_DESCRIPTOR descriptor, win::PSID owner,
                                         win::BOOL defaulted) override {
        auto set = platform::imports::SetSecurityDescriptorOwner();
        return set ? set(descriptor, owner, defaulted) : NotImplemented();
    }
    win::BOOL SetSecurityDescriptorControl(win::PSECURITY_DESCRIPTOR descriptor, win::WORD bitsOfInterest,
                                           win::WORD bitsToSet) override {
        auto set = platform::imports::SetSecurityDescriptorControl();
        return set ? set(descriptor, bitsOfInterest, bitsToSet) : NotImplemented();
    }
    win::BOOL GetKernelObjectSecurity(win::HANDLE object, win::DWORD information,
                                      win::PSECURITY_DESCRIPTOR descriptor, win::DWORD length,
                                      win::DWORD* lengthNeeded) override {
        auto get = platform::imports::GetKernelObjectSecurity();
        return get ? get(object, information, descriptor, length, lengthNeeded) : NotImplemented();
    }
    win::BOOL GetSecurityDescriptorOwner(win::PSECURITY_DESCRIPTOR descriptor, win::PSID* owner,
                                         win::BOOL* defaulted) override {
        auto get = platform::imports::GetSecurityDescriptorOwner();
        return get ? get(descriptor, owner, defaulted) : NotImplemented();
    }
    win::BOOL GetSecurityDescriptorDacl(win::PSECURITY_DESCRIPTOR descriptor, win::BOOL* present, win::PACL* dacl,
                                        win::BOOL* defaulted) override {
        auto get = platform::imports::GetSecurityDescriptorDacl();
        return get ? get(descriptor, present, dacl, defaulted) : NotImplemented();
    }
    win::BOOL GetSecurityDescriptorControl(win::PSECURITY_DESCRIPTOR descriptor, win::WORD* control,
                                           win::DWORD* revision) override {
        auto get = platform::imports::GetSecurityDescriptorControl();
        return get ? get(descriptor, control, revision) : NotImplemented();
    }
};

Win32Registry registry;

struct Install {
    Install() { platform::Current().registry = &registry; }
} install;

}  // namespace
