// Pixel memory of a simulated bitmap: rows of 1, 8, 24 or 32 bits per pixel, stored
// top-down or bottom-up, with a colour table for 1 and 8 bits.
#pragma once

#include <vector>

#include "platform/GdiTypes.h"

namespace sim {

class PixelBuffer {
public:
    // rowAlignment: 4 for DIB sections, 2 for device-dependent bitmaps.
    PixelBuffer(int width, int height, int bitsPerPixel, int rowAlignment, bool bottomUp);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    int Stride() const { return stride_; }
    bool BottomUp() const { return bottomUp_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    win::BYTE* Bytes() { return bytes_.data(); }
    const win::BYTE* Bytes() const { return bytes_.data(); }
    size_t Size() const { return bytes_.size(); }
    // Row y of the image, counted from the top.
    win::BYTE* Row(int y) { return bytes_.data() + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * stride_; }
    const win::BYTE* Row(int y) const {
        return bytes_.data() + static_cast<size_t>(bottomUp_ ? height_ - 1 - y : y) * stride_;
    }

    std::vector<win::RGBQUAD>& Palette() { return palette_; }
    const std::vector<win::RGBQUAD>& Palette() const { return palette_; }

    // Colour-table index of a 1- or 8-bit pixel.
    int Index(int x, int y) const;
    void SetIndex(int x, int y, int index);
    // 0x00BBGGRR; table-based pixels through their colour table.
    win::COLORREF Colour(int x, int y) const;
    // Table-based pixels take the nearest entry of their colour table.
    void SetColour(int x, int y, win::COLORREF colour);
    int NearestIndex(win::COLORREF colour) const;

private:

    int width_;
    int height_;
    int bitsPerPixel_;
    int stride_;
    bool bottomUp_;
    std::vector<win::BYTE> bytes_;
    std::vector<win::RGBQUAD> palette_;
};

}  // namespace sim
