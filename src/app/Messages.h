// Window messages sent to the main dialog by the probe worker and by Drainex.
#pragma once

#include "platform/Types.h"

namespace app {

constexpr win::UINT WM_PROBE_STEP = win::WM_USER + 100;  // wParam size tried, lParam 1 reply / 0 none
constexpr win::UINT WM_PROBE_DONE = win::WM_USER + 101;  // wParam 1 size found / 2 stopped, lParam size
constexpr win::UINT WM_RELEASE_RANGE = 2158;            // lParam number of progress steps
constexpr win::UINT WM_RELEASE_PROGRESS = 2159;         // lParam progress position
constexpr win::UINT WM_RELEASE_BEGIN = 2160;
constexpr win::UINT WM_RELEASE_END = 2161;

}  // namespace app
