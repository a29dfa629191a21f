// A kernel handle (process, thread, snapshot, file) closed through the seam when it
// goes out of scope, so that every path closes what it opened.
#pragma once

#include "Platform.h"
#include "Scoped.h"

namespace platform {

struct KernelHandleKind {
    using Value = win::HANDLE;
    // Null and INVALID_HANDLE_VALUE both stand for no handle.
    static bool Holds(win::HANDLE handle) { return handle != nullptr && handle != win::INVALID_HANDLE_VALUE; }
    static win::BOOL Close(win::HANDLE handle) { return Handles().CloseHandle(handle); }
};
using ScopedHandle = Scoped<KernelHandleKind>;

}  // namespace platform
