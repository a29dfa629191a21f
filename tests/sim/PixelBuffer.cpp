#include "sim/PixelBuffer.h"

namespace sim {
using namespace win;

PixelBuffer::PixelBuffer(int width, int height, int bitsPerPixel, int rowAlignment, bool bottomUp)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel), bottomUp_(bottomUp) {
    int alignBits = rowAlignment * 8;
    stride_ = (width * bitsPerPixel + alignBits - 1) / alignBits * rowAlignment;
    bytes_.assign(static_cast<size_t>(stride_) * height, 0);
    if (bitsPerPixel == 1) palette_ = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
}

int PixelBuffer::Index(int x, int y) const {
    const BYTE* row = Row(y);
    if (bitsPerPixel_ == 1) return (row[x >> 3] >> (7 - (x & 7))) & 1;
    return row[x];
}

void PixelBuffer::SetIndex(int x, int y, int index) {
    BYTE* row = Row(y);
    if (bitsPerPixel_ == 1) {
        BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
        row[x >> 3] = index ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
    } else {
        row[x] = static_cast<BYTE>(index);
    }
}

COLORREF PixelBuffer::Colour(int x, int y) const {
    if (bitsPerPixel_ <= 8) {
        size_t index = static_cast<size_t>(Index(x, y));
        if (index >= palette_.size()) return 0;
        const RGBQUAD& entry = palette_[index];
        return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    }
    const BYTE* pixel = Row(y) + static_cast<size_t>(x) * (bitsPerPixel_ / 8);
    return RGB(pixel[2], pixel[1], pixel[0]);
}

void PixelBuffer::SetColour(int x, int y, COLORREF colour) {
    if (bitsPerPixel_ <= 8) {
        SetIndex(x, y, NearestIndex(colour));
        return;
    }
    BYTE* pixel = Row(y) + static_cast<size_t>(x) * (bitsPerPixel_ / 8);
    pixel[0] = GetBValue(colour);
    pixel[1] = GetGValue(colour);
    pixel[2] = GetRValue(colour);
    if (bitsPerPixel_ == 32) pixel[3] = 0;
}

int PixelBuffer::NearestIndex(COLORREF colour) const {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette_.size(); ++i) {
        long dr = static_cast<long>(palette_[i].rgbRed) - GetRValue(colour);
        long dg = static_cast<long>(palette_[i].rgbGreen) - GetGValue(colour);
        long db = static_cast<long>(palette_[i].rgbBlue) - GetBValue(colour);
        long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace sim
