#include "registry/AdminSecurity.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

using namespace win;

namespace {

// The well-known SIDs, written out: their names differ between languages of Windows.
const std::vector<BYTE> kSystemSid = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};                     // S-1-5-18
const std::vector<BYTE> kAdministratorsSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};  // S-1-5-32-544
const std::vector<BYTE> kUsersSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 2, 0, 0};           // S-1-5-32-545
constexpr DWORD kAceBytes = 8;  // header and mask before the SID
constexpr DWORD kAclHeaderBytes = 8;

}  // namespace

bool AdminDescriptor::Build(UsersAccess users, bool folder) {
    auto addAce = platform::imports::AddAccessAllowedAceEx();
    if (addAce == nullptr) return false;
    struct Grant {
        const std::vector<BYTE>* sid;
        DWORD mask;
    };
    std::vector<Grant> grants = {{&kSystemSid, FILE_ALL_ACCESS}, {&kAdministratorsSid, FILE_ALL_ACCESS}};
    if (users == UsersAccess::Read) grants.push_back({&kUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE});
    DWORD size = kAclHeaderBytes;
    for (const Grant& grant : grants) size += kAceBytes + static_cast<DWORD>(grant.sid->size());
    dacl.assign(size, 0);
    owner = kAdministratorsSid;

    auto& registry = platform::Registry();
    if (!registry.InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !registry.InitializeAcl(dacl.data(), size, ACL_REVISION)) {
        return false;
    }
    const DWORD inheritance = folder ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
    for (const Grant& grant : grants) {
        std::vector<BYTE> sid = *grant.sid;
        if (!addAce(dacl.data(), ACL_REVISION, inheritance, grant.mask, sid.data())) return false;
    }
    // Administrators own it even where the creating token's default owner is the user.
    return registry.SetSecurityDescriptorDacl(&descriptor, TRUE, dacl.data(), FALSE) &&
           registry.SetSecurityDescriptorOwner(&descriptor, owner.data(), FALSE) &&
           registry.SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

bool OwnerOf(HANDLE object, std::vector<BYTE>& owner) {
    auto& registry = platform::Registry();
    DWORD needed = 0;
    registry.GetKernelObjectSecurity(object, OWNER_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> security(needed, 0);
    PSID sid = nullptr;
    BOOL defaulted = FALSE;
    if (!registry.GetKernelObjectSecurity(object, OWNER_SECURITY_INFORMATION, security.data(), needed, &needed) ||
        !registry.GetSecurityDescriptorOwner(security.data(), &sid, &defaulted) || sid == nullptr) {
        return false;
    }
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    owner.assign(bytes, bytes + registry.GetLengthSid(sid));
    return true;
}

bool IsAdministratorsOrSystem(const std::vector<BYTE>& sid) { return sid == kSystemSid || sid == kAdministratorsSid; }
