// GDI behaviour the skin code relies on, checked against the installed GDI: the
// simulated one natively and the real one under Wine, so both are known to agree.
#pragma once

#include <gtest/gtest.h>

#include "skin/TestBitmaps.h"

namespace gdi_behaviour {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::MakeDib;
using testing_bitmaps::PixelAt;
using testing_bitmaps::RegionRects;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

inline void SectionsKeepTheirFormatAndRowOrder() {
    platform::IGdi& gdi = platform::Gdi();
    for (int bits : {1, 8, 24, 32}) {
        testing_bitmaps::Rows rows = Filled(3, 2, kWhite);
        rows[0][0] = kBlack;
        HBITMAP bitmap = MakeDib(rows, bits);
        ASSERT_NE(bitmap, nullptr) << bits;
        DIBSECTION section{};
        ASSERT_EQ(gdi.GetObjectA(bitmap, sizeof(section), &section), static_cast<int>(sizeof(DIBSECTION)));
        EXPECT_EQ(section.dsBm.bmBitsPixel, bits);
        EXPECT_EQ(section.dsBm.bmWidthBytes % 4, 0);
        EXPECT_NE(section.dsBm.bmBits, nullptr);
        EXPECT_EQ(section.dsBmih.biHeight, 2);
        EXPECT_EQ(PixelAt(bitmap, 0, 0), kBlack) << bits;  // the last memory row is the top row
        EXPECT_EQ(PixelAt(bitmap, 0, 1), kWhite) << bits;
        EXPECT_EQ(PixelAt(bitmap, 3, 0), CLR_INVALID);
        BITMAP plain{};
        EXPECT_EQ(gdi.GetObjectA(bitmap, sizeof(plain), &plain), static_cast<int>(sizeof(BITMAP)));
        EXPECT_EQ(plain.bmWidth, 3);
        EXPECT_TRUE(gdi.DeleteObject(bitmap));
    }
}

// A memory DC starts with a 1 x 1 monochrome bitmap, so bitmaps compatible with it are
// monochrome; a window-compatible one has colour.
inline void CompatibleBitmapOfAFreshMemoryDcIsMonochrome(HDC windowDc) {
    platform::IGdi& gdi = platform::Gdi();
    HDC memory = gdi.CreateCompatibleDC(windowDc);
    HBITMAP mono = gdi.CreateCompatibleBitmap(memory, 4, 4);
    HBITMAP colour = gdi.CreateCompatibleBitmap(windowDc, 4, 4);
    BITMAP info{};
    gdi.GetObjectA(mono, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    gdi.GetObjectA(colour, sizeof(info), &info);
    EXPECT_GT(info.bmBitsPixel, 8);
    EXPECT_EQ(info.bmBits, nullptr);
    HGDIOBJ old = gdi.SelectObject(memory, colour);
    HBITMAP fromColourDc = gdi.CreateCompatibleBitmap(memory, 2, 2);
    gdi.GetObjectA(fromColourDc, sizeof(info), &info);
    EXPECT_GT(info.bmBitsPixel, 8);
    gdi.SelectObject(memory, old);
    gdi.DeleteDC(memory);
    for (HBITMAP bitmap : {mono, colour, fromColourDc}) EXPECT_TRUE(gdi.DeleteObject(bitmap));
}

inline void ABitmapLivesInOneDcAtATime() {
    platform::IGdi& gdi = platform::Gdi();
    HBITMAP bitmap = MakeDib(Filled(2, 2, kRed));
    HDC first = gdi.CreateCompatibleDC(nullptr);
    HDC second = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ original = gdi.SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(gdi.SelectObject(second, bitmap), nullptr);
    EXPECT_EQ(gdi.SelectObject(first, original), bitmap);
    EXPECT_NE(gdi.SelectObject(second, bitmap), nullptr);
    EXPECT_TRUE(gdi.DeleteDC(second));  // deleting the DC releases the bitmap
    EXPECT_TRUE(gdi.DeleteObject(bitmap));
    EXPECT_TRUE(gdi.DeleteDC(first));
}

// The transparent-blit idiom: a mask from a key colour, the mask ANDed onto the
// ground, then the picture (key pixels black) ORed on top.
inline void MaskedPictureLeavesTheGroundUnderKeyPixels() {
    platform::IGdi& gdi = platform::Gdi();
    HBITMAP picture = MakeDib({{kRed, kBlack}, {RGB(1, 0, 0), kBlue}});
    HBITMAP mask = gdi.CreateBitmap(2, 2, 1, 1, nullptr);
    HDC pictureDc = gdi.CreateCompatibleDC(nullptr);
    HDC maskDc = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ oldPicture = gdi.SelectObject(pictureDc, picture);
    HGDIOBJ oldMask = gdi.SelectObject(maskDc, mask);

    gdi.SetBkColor(pictureDc, kBlack);
    ASSERT_TRUE(gdi.BitBlt(maskDc, 0, 0, 2, 2, pictureDc, 0, 0, SRCCOPY));
    EXPECT_EQ(gdi.GetPixel(maskDc, 1, 0), kWhite);  // exactly the key colour
    EXPECT_EQ(gdi.GetPixel(maskDc, 0, 1), kBlack);  // one step away is not

    HBITMAP ground = MakeDib(Filled(4, 4, kWhite));
    HDC groundDc = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ oldGround = gdi.SelectObject(groundDc, ground);
    gdi.SetBkColor(groundDc, kGreen);
    RECT all{0, 0, 4, 4};
    gdi.ExtTextOutA(groundDc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    gdi.SetBkColor(groundDc, kWhite);
    gdi.SetTextColor(groundDc, kBlack);
    gdi.BitBlt(groundDc, 1, 1, 2, 2, maskDc, 0, 0, SRCAND);
    gdi.BitBlt(groundDc, 1, 1, 2, 2, pictureDc, 0, 0, SRCPAINT);
    EXPECT_EQ(gdi.GetPixel(groundDc, 1, 1), kRed);
    EXPECT_EQ(gdi.GetPixel(groundDc, 2, 1), kGreen);
    EXPECT_EQ(gdi.GetPixel(groundDc, 1, 2), RGB(1, 0, 0));
    EXPECT_EQ(gdi.GetPixel(groundDc, 2, 2), kBlue);
    EXPECT_EQ(gdi.GetPixel(groundDc, 0, 0), kGreen);

    // A monochrome source takes the target's text colour for 0 and background for 1.
    gdi.SetTextColor(groundDc, kBlue);
    gdi.SetBkColor(groundDc, kRed);
    gdi.BitBlt(groundDc, 0, 0, 2, 2, maskDc, 0, 0, SRCCOPY);
    EXPECT_EQ(gdi.GetPixel(groundDc, 1, 0), kRed);
    EXPECT_EQ(gdi.GetPixel(groundDc, 0, 0), kBlue);

    gdi.SelectObject(pictureDc, oldPicture);
    gdi.SelectObject(maskDc, oldMask);
    gdi.SelectObject(groundDc, oldGround);
    for (HDC dc : {pictureDc, maskDc, groundDc}) gdi.DeleteDC(dc);
    for (HBITMAP bitmap : {picture, mask, ground}) EXPECT_TRUE(gdi.DeleteObject(bitmap));
}

inline void OverlappingCopiesReadTheOldPixels() {
    platform::IGdi& gdi = platform::Gdi();
    HBITMAP strip = MakeDib({{kRed, kBlue, kWhite, kBlack}});
    HDC dc = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ old = gdi.SelectObject(dc, strip);
    ASSERT_TRUE(gdi.BitBlt(dc, 1, 0, 3, 1, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(gdi.GetPixel(dc, 0, 0), kRed);
    EXPECT_EQ(gdi.GetPixel(dc, 1, 0), kRed);
    EXPECT_EQ(gdi.GetPixel(dc, 2, 0), kBlue);
    EXPECT_EQ(gdi.GetPixel(dc, 3, 0), kWhite);
    gdi.SelectObject(dc, old);
    gdi.DeleteDC(dc);
    gdi.DeleteObject(strip);
}

inline void RegionCombinationsKeepTheBandedForm() {
    platform::IGdi& gdi = platform::Gdi();
    HRGN a = gdi.CreateRectRgn(0, 0, 4, 4);
    HRGN b = gdi.CreateRectRgn(2, 2, 6, 6);
    HRGN result = gdi.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(gdi.CombineRgn(result, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(RegionRects(result), (std::vector<RECT>{{2, 2, 4, 4}}));
    EXPECT_EQ(gdi.CombineRgn(result, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(RegionRects(result), (std::vector<RECT>{{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}));
    gdi.CombineRgn(result, a, b, RGN_DIFF);
    EXPECT_EQ(RegionRects(result), (std::vector<RECT>{{0, 0, 4, 2}, {0, 2, 2, 4}}));
    gdi.CombineRgn(result, a, b, RGN_XOR);
    EXPECT_EQ(RegionRects(result), (std::vector<RECT>{{0, 0, 4, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {2, 4, 6, 6}}));
    EXPECT_EQ(gdi.CombineRgn(result, a, a, RGN_XOR), NULLREGION);
    EXPECT_EQ(gdi.CombineRgn(result, b, nullptr, RGN_COPY), SIMPLEREGION);
    HRGN reversed = gdi.CreateRectRgn(5, 5, 1, 1);
    EXPECT_EQ(RegionRects(reversed), (std::vector<RECT>{{1, 1, 5, 5}}));
    for (HRGN region : {a, b, result, reversed}) gdi.DeleteObject(region);
}

// Overlapping rectangles of a list merge; equal rows merge into one band.
inline void RectangleListsMergeIntoBands() {
    platform::IGdi& gdi = platform::Gdi();
    std::vector<RECT> rects = {{0, 0, 3, 1}, {0, 1, 3, 2}, {2, 0, 5, 1}, {7, 7, 7, 9}, {0, 2, 3, 3}};
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()), 0, {0, 0, 5, 3}};
    std::memcpy(data.data(), &header, sizeof(header));
    std::memcpy(data.data() + sizeof(header), rects.data(), rects.size() * sizeof(RECT));
    HRGN made = gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(RegionRects(made), (std::vector<RECT>{{0, 0, 5, 1}, {0, 1, 3, 3}}));
    std::vector<BYTE> out(sizeof(RGNDATAHEADER) + 2 * sizeof(RECT));
    ASSERT_NE(gdi.GetRegionData(made, static_cast<DWORD>(out.size()), reinterpret_cast<RGNDATA*>(out.data())), 0u);
    const auto* written = reinterpret_cast<const RGNDATAHEADER*>(out.data());
    EXPECT_EQ(written->nCount, 2u);
    EXPECT_EQ(written->rcBound, (RECT{0, 0, 5, 3}));
    gdi.DeleteObject(made);
}

}  // namespace gdi_behaviour
