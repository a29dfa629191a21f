// The system's active processors.
#pragma once

#include "platform/BaseTypes.h"

// The active-processor mask, bit 0 = first processor (the low 32 bits).
win::DWORD GetActiveProcessorMask();
// The number of consecutive set bits of that mask counted from bit 0 (0 to 32).
win::DWORD GetActiveProcessorCount();
