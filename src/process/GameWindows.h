// The windows that tell which program is the game being played.
#pragma once

#include "platform/UserTypes.h"

// A visible top-level window whose rectangle covers a whole monitor (full screen or
// borderless), or a minimized one whose restored placement covers one. False for a
// vanished window or a failed query.
bool FillsAMonitor(win::HWND window);

// Visible, not a tool window, not owned and with a title: a window the player uses.
bool IsOrdinaryWindow(win::HWND window);

// The first ordinary window of another process beneath the given window of this program
// in the Z-order; null when there is none.
win::HWND OrdinaryWindowBeneath(win::HWND ownWindow);
