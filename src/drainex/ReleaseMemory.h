// One memory release: claims a share of the physical memory in 1 KiB blocks, frees
// it again, and reports to a window with the four release messages.
#pragma once

#include <cstdint>

#include "platform/BaseTypes.h"

constexpr uint32_t kReleaseBlockSize = 1024;

// The most blocks a release claims: 2 GiB, the reach of the 32-bit program's address space.
// Without it the 64-bit program would claim nearly all of a large machine's memory, pushing
// every other program out to the page file, and take longer the more memory is installed.
constexpr uint32_t kMaxReleaseBlocks = 2097152;

// The number of blocks the mode claims on a machine of totalMb: mode 1 half, mode 2 all
// but 100 MiB (nothing below that), any other mode a quarter; never more than
// kMaxReleaseBlocks.
uint32_t ReleaseBlockCount(int32_t mode, int32_t totalMb);

// Sends WM_RELEASE_BEGIN and WM_RELEASE_RANGE, claims the blocks, frees them, and ends
// with WM_RELEASE_END. Claiming stops at the first block or list growth that fails; the
// claimed blocks are freed and the positions stay within the announced range.
bool ReleaseMemory(int32_t mode, win::HWND window);
