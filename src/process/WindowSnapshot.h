// The top-level windows of every process from one EnumWindows, taken when first asked for,
// so that hiding or showing the windows of many processes enumerates the desktop once.
#pragma once

#include <map>
#include <vector>

#include "platform/BaseTypes.h"

class WindowSnapshot {
public:
    // The process's windows in enumeration order.
    const std::vector<win::HWND>& WindowsOf(win::DWORD processId);
    // What EnumWindows returned.
    win::BOOL Enumerated();

private:
    void Take();

    bool taken = false;
    win::BOOL enumerated = 0;
    std::map<win::DWORD, std::vector<win::HWND>> windows;
};
