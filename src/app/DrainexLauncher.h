// Starting the memory release helper Drainex.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

// Starts "<appFolder>\Drainex.exe" hidden, with the mode and the window that is to
// receive its messages. Returns the helper's process handle, which the caller waits on
// and closes, or null when the helper could not be started (then no message will come).
win::HANDLE LaunchDrainex(const std::string& appFolder, int32_t mode, win::HWND window);
