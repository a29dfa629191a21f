#include "skin/MemoryDc.h"

#include "platform/Platform.h"

MemoryDc::MemoryDc(win::HDC compatibleWith) : dc_(platform::Gdi().CreateCompatibleDC(compatibleWith)) {}

MemoryDc::~MemoryDc() {
    if (original_ != nullptr) platform::Gdi().SelectObject(dc_.Get(), original_);
}

bool MemoryDc::Select(win::HBITMAP bitmap) {
    if (!dc_) return false;
    win::HGDIOBJ previous = platform::Gdi().SelectObject(dc_.Get(), bitmap);
    if (previous == nullptr) return false;
    if (original_ == nullptr) original_ = previous;
    return true;
}
