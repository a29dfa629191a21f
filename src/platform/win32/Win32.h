// Shared include of the win32 backend: the seam first, then the real Windows
// headers, whose macros (TRUE, RGB, WM_PAINT, ...) would otherwise clash with the
// seam's names. Include nothing of the seam after this header.
#pragma once

#include "platform/Platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// What a call answers when its run-time import is missing: failure, with the last error
// of a call this Windows does not implement.
inline BOOL NotImplemented() {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

// Checks that a seam structure has the layout of its Windows original.
#define KESTRAVA_SAME_LAYOUT(name) static_assert(sizeof(win::name) == sizeof(::name), #name " layout differs")
