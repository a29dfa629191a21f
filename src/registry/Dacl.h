// A DACL of access-allowed entries, one per grant, in the grants' order.
#pragma once

#include <vector>

#include "platform/RegistryTypes.h"

constexpr win::DWORD kAclHeaderBytes = 8;
constexpr win::DWORD kAceBytes = 8;  // an entry's header and mask, before its SID

struct AccessGrant {
    std::vector<win::BYTE> sid;
    win::DWORD mask;
    win::DWORD inheritance;  // entry flags: OBJECT_INHERIT_ACE, CONTAINER_INHERIT_ACE or none
};

// Builds the DACL into dacl, sized to fit its entries and spareBytes more; false where the
// system cannot make one (the 9x family, NT 4.0).
bool BuildDacl(const std::vector<AccessGrant>& grants, std::vector<win::BYTE>& dacl, win::DWORD spareBytes = 0);
