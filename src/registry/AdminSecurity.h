// Security of what the elevated program keeps on disk: a descriptor that leaves a file or
// folder to SYSTEM and Administrators, owned by Administrators, and the check of an open
// file's or folder's owner.
#pragma once

#include <vector>

#include "platform/Registry.h"

enum class UsersAccess { None, Read };

// An absolute descriptor owned by Administrators with a protected DACL: full access for
// SYSTEM and Administrators and, with UsersAccess::Read, read access for Users; for a
// folder, inherited by everything made inside it. It points into its own buffers, so it
// is built in place and never copied.
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
