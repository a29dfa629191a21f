// The window operations of clsEnhance: every top-level window of one process.
#include "platform/Platform.h"
#include "process/clsEnhance.h"

using namespace win;

BOOL clsEnhance::HideProcessWindow(DWORD processId, WindowStateList& states) {
    WindowSnapshot windows;
    return ChangeWindows(processId, states, SW_HIDE, windows);
}

BOOL clsEnhance::ShowProcessWindow(DWORD processId, WindowStateList& states) {
    WindowSnapshot windows;
    return ChangeWindows(processId, states, SW_SHOW, windows);
}

BOOL clsEnhance::HideProcessWindow(DWORD processId, WindowStateList& states, WindowSnapshot& windows) {
    return ChangeWindows(processId, states, SW_HIDE, windows);
}

BOOL clsEnhance::ShowProcessWindow(DWORD processId, WindowStateList& states, WindowSnapshot& windows) {
    return ChangeWindows(processId, states, SW_SHOW, windows);
}

BOOL clsEnhance::ChangeWindows(DWORD processId, WindowStateList& states, int showCommand, WindowSnapshot& windows) {
    auto& user = platform::User();
    for (HWND window : windows.WindowsOf(processId)) {
        // Gone since the enumeration, or its handle now names another program's window.
        DWORD owner = 0;
        user.GetWindowThreadProcessId(window, &owner);
        if (owner != processId) continue;
        states.Append(window, user.IsWindowVisible(window) ? 1 : 0);
        user.ShowWindow(window, showCommand);
    }
    return windows.Enumerated();
}
