// Starting the memory release helper Drainex, the one built with this program only.
#pragma once

#include <cstdint>
#include <string>

#include "app/Sha256.h"
#include "platform/BaseTypes.h"

struct DrainexLaunch {
    // The helper's process, which the caller waits on and closes; null when nothing was
    // started (then no message will come).
    win::HANDLE process = nullptr;
    // The file was read and is not the helper this program was built with.
    bool foreign = false;
};

// Starts "<appFolder>\Drainex.exe" hidden, with the mode and the window that is to receive
// its messages, when its SHA-256 is the expected one. The file is held open against
// writing and deleting from the check until the process has started, so the file that
// runs is the file that was checked. A missing or unreadable file starts nothing either.
DrainexLaunch LaunchDrainex(const std::string& appFolder, int32_t mode, win::HWND window,
                            const Sha256Digest& expected);
