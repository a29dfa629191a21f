#include "app/DragStrip.h"

#include "platform/Platform.h"

namespace {
constexpr int kStripHeight = 30;
}

bool HitsDragStrip(win::HWND window, win::LPARAM screenPoint) {
    win::RECT rect{};
    platform::User().GetWindowRect(window, &rect);
    int y = static_cast<short>(win::HIWORD(static_cast<uintptr_t>(screenPoint)));
    return y - rect.top < kStripHeight;
}
