#include "app/ReleaseProgress.h"

#include <algorithm>

int32_t ReleaseBarPosition(int32_t position, int32_t range) {
    if (range < 1) return 20;
    // Widened and kept to 0 .. 100 percent, so a stray position cannot overflow or leave the bar.
    const int64_t percent = std::clamp<int64_t>(static_cast<int64_t>(position) * 100 / range, 0, 100);
    return static_cast<int32_t>(20 + percent * 4 / 5);
}
