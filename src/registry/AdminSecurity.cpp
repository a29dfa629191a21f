#include "registry/AdminSecurity.h"

#include "platform/Platform.h"
#include "registry/Dacl.h"

using namespace win;

namespace {

// The well-known SIDs, written out: their names differ between languages of Windows.
const std::vector<BYTE> kSystemSid = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};                     // S-1-5-18
const std::vector<BYTE> kAdministratorsSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};  // S-1-5-32-544
const std::vector<BYTE> kUsersSid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 2, 0, 0};           // S-1-5-32-545
const std::vector<BYTE> kOwnerRightsSid = {1, 1, 0, 0, 0, 0, 0, 3, 4, 0, 0, 0};                 // S-1-3-4
constexpr DWORD kReadAccess = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
// Every right that changes a file or folder, what it holds, its permissions or its owner.
constexpr DWORD kChangeAccess = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                GENERIC_ALL;
constexpr BYTE kAccessAllowedAce = 0;
constexpr BYTE kAccessDeniedAce = 1;
constexpr BYTE kAccessAllowedCallbackAce = 9;
constexpr DWORD kSidHeaderBytes = 8;  // revision, count of sub-authorities, authority

WORD Read16(const BYTE* bytes) { return static_cast<WORD>(bytes[0] | bytes[1] << 8); }
DWORD Read32(const BYTE* bytes) { return Read16(bytes) | static_cast<DWORD>(Read16(bytes + 2)) << 16; }

// The SID of an entry that names it right after its mask; empty for other kinds or a SID
// that does not fit in the entry.
std::vector<BYTE> SidOf(const BYTE* ace, WORD aceSize) {
    if (ace[0] != kAccessAllowedAce && ace[0] != kAccessAllowedCallbackAce) return {};
    if (aceSize < kAceBytes + kSidHeaderBytes) return {};
    const BYTE* sid = ace + kAceBytes;
    const DWORD sidSize = kSidHeaderBytes + 4 * sid[1];
    if (kAceBytes + sidSize > aceSize) return {};
    return std::vector<BYTE>(sid, sid + sidSize);
}

}  // namespace

bool AdminDescriptor::Build(UsersAccess users, bool folder) {
    const DWORD inheritance = folder ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
    std::vector<AccessGrant> grants = {{kSystemSid, FILE_ALL_ACCESS, inheritance},
                                       {kAdministratorsSid, FILE_ALL_ACCESS, inheritance}};
    if (users == UsersAccess::Read) grants.push_back({kUsersSid, kReadAccess, inheritance});
    if (folder) grants.push_back({kOwnerRightsSid, kReadAccess, inheritance});
    owner = kAdministratorsSid;
    auto& registry = platform::Registry();
    // Administrators own it even where the creating token's default owner is the user.
    return BuildDacl(grants, dacl) &&
           registry.InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           registry.SetSecurityDescriptorDacl(&descriptor, TRUE, dacl.data(), FALSE) &&
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

DaclVerdict CheckDacl(HANDLE object, const std::vector<BYTE>& alsoTrusted) {
    auto& registry = platform::Registry();
    DWORD needed = 0;
    registry.GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return DaclVerdict::OpenToOthers;
    std::vector<BYTE> security(needed, 0);
    WORD control = 0;
    DWORD revision = 0;
    BOOL present = FALSE;
    PACL dacl = nullptr;
    BOOL defaulted = FALSE;
    if (!registry.GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, security.data(), needed, &needed) ||
        !registry.GetSecurityDescriptorControl(security.data(), &control, &revision) ||
        !registry.GetSecurityDescriptorDacl(security.data(), &present, &dacl, &defaulted) || !present ||
        dacl == nullptr) {
        return DaclVerdict::OpenToOthers;
    }
    // ACL: revision, padding, size, count of entries, padding; each entry: type, flags, size.
    const BYTE* acl = static_cast<const BYTE*>(dacl);
    const DWORD aclSize = Read16(acl + 2);
    DWORD offset = kAclHeaderBytes;
    for (WORD count = Read16(acl + 4); count > 0; --count) {
        if (offset + kAceBytes > aclSize) return DaclVerdict::OpenToOthers;
        const BYTE* ace = acl + offset;
        const WORD aceSize = Read16(ace + 2);
        if (aceSize < kAceBytes || offset + aceSize > aclSize) return DaclVerdict::OpenToOthers;
        offset += aceSize;
        if (ace[0] == kAccessDeniedAce) continue;
        if (!(Read32(ace + 4) & kChangeAccess)) continue;
        const std::vector<BYTE> sid = SidOf(ace, aceSize);
        const bool trusted = IsAdministratorsOrSystem(sid) || (!alsoTrusted.empty() && sid == alsoTrusted);
        if (!trusted) return DaclVerdict::OpenToOthers;
    }
    return (control & SE_DACL_PROTECTED) ? DaclVerdict::OwnOnly : DaclVerdict::Unprotected;
}
