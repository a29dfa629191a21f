#include "registry/Dacl.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

using namespace win;

bool BuildDacl(const std::vector<AccessGrant>& grants, std::vector<BYTE>& dacl, DWORD spareBytes) {
    auto addAce = platform::imports::AddAccessAllowedAceEx();
    if (addAce == nullptr) return false;
    DWORD size = kAclHeaderBytes + spareBytes;
    for (const AccessGrant& grant : grants) size += kAceBytes + static_cast<DWORD>(grant.sid.size());
    dacl.assign(size, 0);
    if (!platform::Registry().InitializeAcl(dacl.data(), size, ACL_REVISION)) return false;
    for (const AccessGrant& grant : grants) {
        std::vector<BYTE> sid = grant.sid;  // the call takes it writable
        if (!addAce(dacl.data(), ACL_REVISION, grant.inheritance, grant.mask, sid.data())) return false;
    }
    return true;
}
