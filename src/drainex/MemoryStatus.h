// Physical memory status in whole MiB.
#pragma once

#include <cstdint>

// Fills total and available physical memory in MiB (rounded up, at least 1) and the
// free percentage; returns totalMb, or 0 with all outputs 0 when no status can be read.
int32_t QueryMemoryStatus(int32_t& totalMb, int32_t& availableMb, int32_t& freePercent);
