#include "process/GameWindows.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

using namespace win;

namespace {

bool Covers(const RECT& rect, const RECT& area) {
    return rect.left <= area.left && rect.top <= area.top && rect.right >= area.right && rect.bottom >= area.bottom;
}

// A restored placement is in workspace coordinates, which start at the work area of
// its monitor; without the monitor functions the screen's corner is taken for both.
bool CoversAMonitor(RECT rect, bool workspace) {
    const auto monitorFromRect = platform::imports::MonitorFromRect();
    const auto getMonitorInfo = platform::imports::GetMonitorInfoA();
    if (monitorFromRect == nullptr || getMonitorInfo == nullptr) {
        auto& user = platform::User();
        const RECT screen{0, 0, user.GetSystemMetrics(SM_CXSCREEN), user.GetSystemMetrics(SM_CYSCREEN)};
        return screen.right > 0 && screen.bottom > 0 && Covers(rect, screen);
    }
    HMONITOR monitor = monitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !getMonitorInfo(monitor, &info)) return false;
    if (workspace) {
        const LONG dx = info.rcWork.left - info.rcMonitor.left;
        const LONG dy = info.rcWork.top - info.rcMonitor.top;
        rect = RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
    return Covers(rect, info.rcMonitor);
}

struct BeneathWalk {
    HWND ownWindow;
    DWORD ownProcess;
    bool passedOwn;
    HWND found;
};

BOOL KAPI VisitBeneath(HWND window, LPARAM context) {
    auto* walk = reinterpret_cast<BeneathWalk*>(context);
    if (window == walk->ownWindow) {
        walk->passedOwn = true;
        return TRUE;
    }
    if (!walk->passedOwn) return TRUE;
    DWORD owner = 0;
    if (platform::User().GetWindowThreadProcessId(window, &owner) == 0 || owner == walk->ownProcess) return TRUE;
    if (!IsOrdinaryWindow(window)) return TRUE;
    walk->found = window;
    return FALSE;
}

}  // namespace

bool FillsAMonitor(HWND window) {
    auto& user = platform::User();
    if (!user.IsWindowVisible(window)) return false;
    if (user.IsIconic(window)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        return user.GetWindowPlacement(window, &placement) && CoversAMonitor(placement.rcNormalPosition, true);
    }
    RECT rect{};
    return user.GetWindowRect(window, &rect) && CoversAMonitor(rect, false);
}

bool IsOrdinaryWindow(HWND window) {
    auto& user = platform::User();
    return user.IsWindowVisible(window) && !(user.GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
           user.GetWindow(window, GW_OWNER) == nullptr && user.GetWindowTextLengthA(window) > 0;
}

HWND OrdinaryWindowBeneath(HWND ownWindow) {
    BeneathWalk walk{ownWindow, platform::Processes().GetCurrentProcessId(), false, nullptr};
    platform::User().EnumWindows(&VisitBeneath, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}
