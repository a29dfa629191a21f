// Registry and security area of the platform seam.
#pragma once

#include "RegistryTypes.h"

namespace platform {
using namespace win;

class IRegistry {
public:
    virtual ~IRegistry() = default;
    virtual LONG RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result) = 0;
    virtual LONG RegCreateKeyA(HKEY root, const char* subKey, HKEY* result) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
    virtual LONG RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                                  DWORD* size) = 0;
    virtual LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                                DWORD size) = 0;
    virtual LONG RegDeleteValueA(HKEY key, const char* name) = 0;
    // On the 9x family this deletes the sub-keys too; callers delete only empty keys.
    virtual LONG RegDeleteKeyA(HKEY root, const char* subKey) = 0;
    virtual LONG RegQueryInfoKeyA(HKEY key, char* className, DWORD* classSize, DWORD* reserved, DWORD* subKeys,
                                  DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values,
                                  DWORD* maxValueNameLength, DWORD* maxValueLength, DWORD* securityDescriptorSize,
                                  FILETIME* lastWriteTime) = 0;
    virtual LONG RegGetKeySecurity(HKEY key, DWORD information, PSECURITY_DESCRIPTOR descriptor,
                                   DWORD* size) = 0;
    virtual LONG RegSetKeySecurity(HKEY key, DWORD information, PSECURITY_DESCRIPTOR descriptor) = 0;
    virtual BOOL LookupAccountNameA(const char* systemName, const char* accountName, PSID sid, DWORD* sidSize,
                                    char* domainName, DWORD* domainSize, SID_NAME_USE* use) = 0;
    virtual DWORD GetLengthSid(PSID sid) = 0;
    virtual BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) = 0;
    virtual BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl,
                                           BOOL defaulted) = 0;
    virtual BOOL InitializeAcl(PACL acl, DWORD size, DWORD revision) = 0;

    // Security calls the 9x family lacks; the real backend takes them from the run-time
    // imports and fails them as not implemented where they are missing.
    virtual BOOL SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL defaulted) = 0;
    virtual BOOL SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, WORD bitsOfInterest,
                                              WORD bitsToSet) = 0;
    virtual BOOL GetKernelObjectSecurity(HANDLE object, DWORD information, PSECURITY_DESCRIPTOR descriptor,
                                         DWORD length, DWORD* lengthNeeded) = 0;
    virtual BOOL GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID* owner, BOOL* defaulted) = 0;
    virtual BOOL GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL* present, PACL* dacl,
                                           BOOL* defaulted) = 0;
    virtual BOOL GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, WORD* control, DWORD* revision) = 0;
};

}  // namespace platform
