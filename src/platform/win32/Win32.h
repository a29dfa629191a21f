// Shared include of the win32 backend: the real Windows headers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/Platform.h"

// Checks that a seam structure has the layout of its Windows original.
#define KESTRAVA_SAME_LAYOUT(name) static_assert(sizeof(win::name) == sizeof(::name), #name " layout differs")
