#include "skin/MemoryDc.h"

#include "platform/Platform.h"

MemoryDc::MemoryDc(win::HDC compatibleWith) : dc_(platform::Gdi().CreateCompatibleDC(compatibleWith)) {}

MemoryDc::~MemoryDc() {
    if (dc_ == nullptr) return;
    if (original_ != nullptr) platform::Gdi().SelectObject(dc_, original_);
    platform::Gdi().DeleteDC(dc_);
}

bool MemoryDc::Select(win::HBITMAP bitmap) {
    if (dc_ == nullptr) return false;
    win::HGDIOBJ previous = platform::Gdi().SelectObject(dc_, bitmap);
    if (previous == nullptr) return false;
    if (original_ == nullptr) original_ = previous;
    return true;
}
