// The shell's notification area of the simulated machine: the icons that programs add
// with Shell_NotifyIconA (shell32) and what each shows.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/UserTypes.h"

namespace sim {
using namespace win;

class Machine;

struct NotifyIcon {
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    std::string tip;
    std::string balloonTitle;
    std::string balloon;  // the last balloon text shown
    DWORD size = 0;       // cbSize of the last call
};

class Shell {
public:
    explicit Shell(Machine& machine);

    // While absent (the shell restarting, or none yet), every call fails.
    void SetTaskbarPresent(bool present);
    // The icon a window added with this id; false when there is none.
    bool FindIcon(HWND window, UINT id, NotifyIcon& icon) const;
    size_t IconCount() const;

    BOOL Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data);

private:
    mutable std::mutex mutex_;
    bool present_ = true;
    std::map<std::pair<HWND, UINT>, NotifyIcon> icons_;
};

}  // namespace sim
