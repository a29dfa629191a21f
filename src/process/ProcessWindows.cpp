// The window operations of clsEnhance: every top-level window of one process.
#include "platform/Platform.h"
#include "process/clsEnhance.h"

using namespace win;

namespace {

struct WindowWalk {
    WindowStateList* states;
    DWORD processId;
    int showCommand;
};

BOOL KAPI VisitWindow(HWND window, LPARAM context) {
    auto* walk = reinterpret_cast<WindowWalk*>(context);
    auto& user = platform::User();
    DWORD owner = 0;
    user.GetWindowThreadProcessId(window, &owner);
    if (owner == walk->processId) {
        walk->states->Append(window, user.IsWindowVisible(window) ? 1 : 0);
        user.ShowWindow(window, walk->showCommand);
    }
    return TRUE;
}

}  // namespace

BOOL clsEnhance::HideProcessWindow(DWORD processId, WindowStateList& states) {
    return ChangeWindows(processId, states, SW_HIDE);
}

BOOL clsEnhance::ShowProcessWindow(DWORD processId, WindowStateList& states) {
    return ChangeWindows(processId, states, SW_SHOW);
}

BOOL clsEnhance::ChangeWindows(DWORD processId, WindowStateList& states, int showCommand) {
    WindowWalk walk{&states, processId, showCommand};
    return platform::User().EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&walk));
}
