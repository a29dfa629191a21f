// When a running process started, which tells a process from a later one that got
// its reused identifier.
#pragma once

#include <cstdint>

#include "platform/BaseTypes.h"

// The start time (FILETIME) of a running process; 0 when it cannot be read (the 9x
// family, no access).
uint64_t ProcessCreationTime(win::DWORD processId);
