// A memory device context holding one bitmap at a time; on destruction the DC's own
// bitmap is put back and the DC deleted, so the bitmap can be freed afterwards.
#pragma once

#include "platform/GdiTypes.h"
#include "platform/ScopedDc.h"

class MemoryDc {
public:
    explicit MemoryDc(win::HDC compatibleWith);
    ~MemoryDc();
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    win::HDC Get() const { return dc_.Get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }
    // Selects a bitmap; false when the DC is missing or the bitmap cannot be selected.
    bool Select(win::HBITMAP bitmap);

private:
    platform::ScopedDc dc_;
    win::HGDIOBJ original_ = nullptr;
};
