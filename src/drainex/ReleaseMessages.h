// Window messages by which Drainex reports a memory release to the window named on its
// command line; both programs include them.
#pragma once

#include "platform/BaseTypes.h"

constexpr win::UINT WM_RELEASE_RANGE = 2158;     // lParam number of progress steps
constexpr win::UINT WM_RELEASE_PROGRESS = 2159;  // lParam progress position
constexpr win::UINT WM_RELEASE_BEGIN = 2160;
constexpr win::UINT WM_RELEASE_END = 2161;
