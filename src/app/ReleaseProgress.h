// The main dialog's progress-bar position for a release progress report.
#pragma once

#include <cstdint>

// 20 + (position * 100 / range) * 4 / 5: the memory phase fills the bar from 20 to 100.
// A range below 1 (fewer than 512 blocks) is not divided by and gives 20; positions
// outside 0 .. range count as 0 or range.
int32_t ReleaseBarPosition(int32_t position, int32_t range);
