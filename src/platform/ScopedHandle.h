// A kernel handle (process, thread, snapshot, file) closed through the seam when it
// goes out of scope, so that every path closes what it opened.
#pragma once

#include "Platform.h"

namespace platform {

class ScopedHandle {
public:
    ScopedHandle() = default;
    // Null and INVALID_HANDLE_VALUE both stand for no handle.
    explicit ScopedHandle(HANDLE opened) : handle(opened == INVALID_HANDLE_VALUE ? nullptr : opened) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle = other.Release();
        }
        return *this;
    }

    HANDLE Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    // Gives up the handle without closing it.
    HANDLE Release() {
        HANDLE kept = handle;
        handle = nullptr;
        return kept;
    }
    void Reset() {
        if (handle != nullptr) Handles().CloseHandle(handle);
        handle = nullptr;
    }

private:
    HANDLE handle = nullptr;
};

}  // namespace platform
