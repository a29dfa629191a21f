// Window messages by which the probe worker reports to the main dialog.
#pragma once

#include "platform/UserTypes.h"

constexpr win::UINT WM_PROBE_STEP = win::WM_USER + 100;  // wParam size tried, lParam 1 reply / 0 none
constexpr win::UINT WM_PROBE_DONE = win::WM_USER + 101;  // wParam 1 size found / 2 stopped, lParam size
