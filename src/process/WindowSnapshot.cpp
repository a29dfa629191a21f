#include "process/WindowSnapshot.h"

#include "platform/Platform.h"

using namespace win;

namespace {

BOOL KAPI VisitWindow(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<std::map<DWORD, std::vector<HWND>>*>(context);
    DWORD owner = 0;
    platform::User().GetWindowThreadProcessId(window, &owner);
    (*windows)[owner].push_back(window);
    return TRUE;
}

}  // namespace

const std::vector<HWND>& WindowSnapshot::WindowsOf(DWORD processId) {
    static const std::vector<HWND> kNone;
    Take();
    auto found = windows.find(processId);
    return found == windows.end() ? kNone : found->second;
}

BOOL WindowSnapshot::Enumerated() {
    Take();
    return enumerated;
}

void WindowSnapshot::Take() {
    if (taken) return;
    taken = true;
    enumerated = platform::User().EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&windows));
}
