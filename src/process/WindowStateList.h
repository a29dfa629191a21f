// Windows touched by the hide and show operations, with their visibility just
// before the change; the undo of a boost replays and empties it.
#pragma once

#include <vector>

#include "platform/BaseTypes.h"

struct WindowStateList {
    std::vector<win::HWND> windows;    // in enumeration order, one entry per window per operation
    std::vector<win::WORD> wasVisible; // IsWindowVisible before the change, parallel to windows

    void Append(win::HWND window, win::WORD visible) {
        windows.push_back(window);
        wasVisible.push_back(visible);
    }
    void Clear() {
        windows.clear();
        wasVisible.clear();
    }
};
