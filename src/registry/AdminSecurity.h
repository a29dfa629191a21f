// Security of what the elevated program keeps on disk: a descriptor that leaves a file or
// folder to SYSTEM and Administrators, owned by Administrators, and the checks of an open
// file's or folder's owner and DACL.
#pragma once

#include <vector>

#include "platform/Registry.h"

enum class UsersAccess { None, Read };

// An absolute descriptor owned by Administrators with a protected DACL: full access for
// SYSTEM and Administrators and, with UsersAccess::Read, read access for Users; for a
// folder, inherited by everything made inside it, with read access alone for OWNER RIGHTS,
// so that whoever comes to own something inside cannot change its permissions. It points
// into its own buffers, so it is built in place and never copied.
class AdminDescriptor {
public:
    AdminDescriptor() = default;
    AdminDescriptor(const AdminDescriptor&) = delete;
    AdminDescriptor& operator=(const AdminDescriptor&) = delete;

    // False where the system cannot make it (the 9x family, NT 4.0).
    bool Build(UsersAccess users, bool folder);
    win::SECURITY_DESCRIPTOR* Get() { return &descriptor; }

private:
    win::SECURITY_DESCRIPTOR descriptor{};
    std::vector<win::BYTE> dacl;
    std::vector<win::BYTE> owner;
};

// The owner of the open file or folder (opened with READ_CONTROL); false when unreadable.
bool OwnerOf(win::HANDLE object, std::vector<win::BYTE>& sid);
bool IsAdministratorsOrSystem(const std::vector<win::BYTE>& sid);

enum class DaclVerdict {
    OwnOnly,          // protected; nobody but the trusted may change anything
    Unprotected,      // as OwnOnly, but what the folder above grants may be inherited
    OpenToOthers,     // someone else may write, append, delete, or change permissions or owner
};
// The DACL of the open file or folder (opened with READ_CONTROL), in itself and as inherited
// by what is made inside it. Trusted are SYSTEM, Administrators and alsoTrusted (when not
// empty); no DACL, an unreadable one or an entry whose SID cannot be read is open to others.
DaclVerdict CheckDacl(win::HANDLE object, const std::vector<win::BYTE>& alsoTrusted);
