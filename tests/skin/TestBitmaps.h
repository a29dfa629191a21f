// Bitmaps and regions for tests, made through the installed GDI (the simulated one
// natively, the real one under Wine).
#pragma once

#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

#include "platform/Platform.h"

namespace testing_bitmaps {
using namespace win;

using Rows = std::vector<std::vector<COLORREF>>;

// A bottom-up DIB section of 1, 8, 24 or 32 bits with the given pixels (top row first);
// 1- and 8-bit sections get a colour table of the distinct colours used.
inline HBITMAP MakeDib(const Rows& rows, int bitsPerPixel = 32) {
    int height = static_cast<int>(rows.size());
    int width = height ? static_cast<int>(rows[0].size()) : 0;
    std::vector<COLORREF> table;
    if (bitsPerPixel <= 8) {
        for (const auto& row : rows) {
            for (COLORREF c : row) {
                if (std::find(table.begin(), table.end(), c) == table.end()) table.push_back(c);
            }
        }
        if (bitsPerPixel == 1) table.resize(2, RGB(255, 255, 255));
    }
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bitsPerPixel);
    header->biCompression = BI_RGB;
    header->biClrUsed = static_cast<DWORD>(table.size());
    auto* colours = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    for (size_t i = 0; i < table.size(); ++i) {
        colours[i] = RGBQUAD{GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
    }
    void* bits = nullptr;
    HBITMAP bitmap = platform::Gdi().CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) return bitmap;
    int stride = (width * bitsPerPixel + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            COLORREF c = rows[y][x];
            if (bitsPerPixel <= 8) {
                int index = static_cast<int>(std::find(table.begin(), table.end(), c) - table.begin());
                if (bitsPerPixel == 8) row[x] = static_cast<BYTE>(index);
                else if (index) row[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
            } else {
                BYTE* pixel = row + x * (bitsPerPixel / 8);
                pixel[0] = GetBValue(c);
                pixel[1] = GetGValue(c);
                pixel[2] = GetRValue(c);
            }
        }
    }
    return bitmap;
}

inline Rows Filled(int width, int height, COLORREF colour) {
    return Rows(static_cast<size_t>(height), std::vector<COLORREF>(static_cast<size_t>(width), colour));
}

// The rectangles of a region as GetRegionData reports them.
inline std::vector<RECT> RegionRects(HRGN region) {
    DWORD size = platform::Gdi().GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER)) return {};
    std::vector<BYTE> data(size);
    if (platform::Gdi().GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())) == 0) return {};
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    std::vector<RECT> rects(header->nCount);
    if (!rects.empty()) std::memcpy(rects.data(), data.data() + header->dwSize, rects.size() * sizeof(RECT));
    return rects;
}

// Reads a pixel of a bitmap through a memory DC.
inline COLORREF PixelAt(HBITMAP bitmap, int x, int y) {
    platform::IGdi& gdi = platform::Gdi();
    HDC dc = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ old = gdi.SelectObject(dc, bitmap);
    COLORREF colour = gdi.GetPixel(dc, x, y);
    gdi.SelectObject(dc, old);
    gdi.DeleteDC(dc);
    return colour;
}

}  // namespace testing_bitmaps

namespace win {
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
}  // namespace win
