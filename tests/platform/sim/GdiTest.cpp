#include "platform/sim/Gdi.h"

#include <gtest/gtest.h>

#include "platform/sim/Machine.h"
#include "skin/TestBitmaps.h"

namespace {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::MakeDib;
using testing_bitmaps::PixelAt;
using testing_bitmaps::RegionRects;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(SimGdiBitmaps, SectionsKeepTheirFormatAndRowOrder) {
    sim::Machine machine;
    for (int bits : {1, 8, 24, 32}) {
        testing_bitmaps::Rows rows = Filled(3, 2, kWhite);
        rows[0][0] = RGB(0, 0, 0);
        HBITMAP bitmap = MakeDib(rows, bits);
        ASSERT_NE(bitmap, nullptr) << bits;
        DIBSECTION section{};
        ASSERT_EQ(machine.gdi.GetObjectA(bitmap, sizeof(section), &section), static_cast<int>(sizeof(DIBSECTION)));
        EXPECT_EQ(section.dsBm.bmBitsPixel, bits);
        EXPECT_EQ(section.dsBm.bmWidthBytes % 4, 0);
        EXPECT_NE(section.dsBm.bmBits, nullptr);
        EXPECT_EQ(section.dsBmih.biHeight, 2);
        // Bottom-up: the first memory row is the bottom image row.
        EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(0, 0, 0)) << bits;
        EXPECT_EQ(PixelAt(bitmap, 0, 1), kWhite) << bits;
        EXPECT_EQ(PixelAt(bitmap, 3, 0), CLR_INVALID);
        BITMAP plain{};
        EXPECT_EQ(machine.gdi.GetObjectA(bitmap, sizeof(plain), &plain), static_cast<int>(sizeof(BITMAP)));
        EXPECT_EQ(plain.bmWidth, 3);
        EXPECT_TRUE(machine.gdi.DeleteObject(bitmap));
    }
    EXPECT_EQ(machine.gdi.LiveObjects(), 0u);
}

TEST(SimGdiBitmaps, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HDC memory = gdi.CreateCompatibleDC(nullptr);
    HBITMAP mono = gdi.CreateCompatibleBitmap(memory, 4, 4);
    HBITMAP colour = gdi.CreateCompatibleBitmap(nullptr, 4, 4);
    BITMAP info{};
    gdi.GetObjectA(mono, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    gdi.GetObjectA(colour, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(info.bmBits, nullptr);

    gdi.SelectObject(memory, colour);
    HBITMAP fromColourDc = gdi.CreateCompatibleBitmap(memory, 2, 2);
    gdi.GetObjectA(fromColourDc, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(gdi.CreateCompatibleBitmap(reinterpret_cast<HDC>(0x1234), 2, 2), nullptr);
}

TEST(SimGdiBitmaps, ABitmapLivesInOneDcAtATimeAndCannotBeDeletedThere) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP bitmap = MakeDib(Filled(2, 2, kRed));
    HDC first = gdi.CreateCompatibleDC(nullptr);
    HDC second = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ original = gdi.SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(gdi.SelectObject(second, bitmap), nullptr);
    EXPECT_FALSE(gdi.DeleteObject(bitmap));
    EXPECT_EQ(gdi.SelectObject(first, original), bitmap);
    EXPECT_NE(gdi.SelectObject(second, bitmap), nullptr);
    EXPECT_TRUE(gdi.DeleteDC(second));  // deleting the DC releases the bitmap
    EXPECT_TRUE(gdi.DeleteObject(bitmap));
    EXPECT_TRUE(gdi.DeleteDC(first));
    EXPECT_FALSE(gdi.DeleteDC(first));
    EXPECT_EQ(machine.gdi.LiveDcs(), 0u);
}

// The transparent-blit idiom: mask from a key colour, key pixels blackened, mask ANDed
// onto the ground, picture ORed on top.
TEST(SimGdiBlits, MaskedPictureLeavesTheGroundUnderKeyPixels) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP picture = MakeDib({{kRed, RGB(0, 0, 0)}, {RGB(1, 0, 0), kBlue}});
    HBITMAP mask = gdi.CreateBitmap(2, 2, 1, 1, nullptr);
    HDC pictureDc = gdi.CreateCompatibleDC(nullptr);
    HDC maskDc = gdi.CreateCompatibleDC(nullptr);
    gdi.SelectObject(pictureDc, picture);
    gdi.SelectObject(maskDc, mask);

    gdi.SetBkColor(pictureDc, RGB(0, 0, 0));
    ASSERT_TRUE(gdi.BitBlt(maskDc, 0, 0, 2, 2, pictureDc, 0, 0, SRCCOPY));
    EXPECT_EQ(gdi.GetPixel(maskDc, 1, 0), kWhite);  // exactly the key colour
    EXPECT_EQ(gdi.GetPixel(maskDc, 0, 1), RGB(0, 0, 0));  // one step away is not

    HBITMAP ground = gdi.CreateCompatibleBitmap(nullptr, 4, 4);
    HDC groundDc = gdi.CreateCompatibleDC(nullptr);
    gdi.SelectObject(groundDc, ground);
    gdi.SetBkColor(groundDc, RGB(0, 200, 0));
    RECT all{0, 0, 4, 4};
    gdi.ExtTextOutA(groundDc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    gdi.SetBkColor(groundDc, kWhite);
    gdi.SetTextColor(groundDc, RGB(0, 0, 0));
    gdi.BitBlt(groundDc, 1, 1, 2, 2, maskDc, 0, 0, SRCAND);
    gdi.BitBlt(groundDc, 1, 1, 2, 2, pictureDc, 0, 0, SRCPAINT);
    EXPECT_EQ(gdi.GetPixel(groundDc, 1, 1), kRed);
    EXPECT_EQ(gdi.GetPixel(groundDc, 2, 1), RGB(0, 200, 0));
    EXPECT_EQ(gdi.GetPixel(groundDc, 1, 2), RGB(1, 0, 0));
    EXPECT_EQ(gdi.GetPixel(groundDc, 2, 2), kBlue);
    EXPECT_EQ(gdi.GetPixel(groundDc, 0, 0), RGB(0, 200, 0));

    // A monochrome source takes the target's text colour for 0 and background for 1.
    gdi.SetTextColor(groundDc, kBlue);
    gdi.SetBkColor(groundDc, kRed);
    gdi.BitBlt(groundDc, 0, 0, 2, 2, maskDc, 0, 0, SRCCOPY);
    EXPECT_EQ(gdi.GetPixel(groundDc, 1, 0), kRed);
    EXPECT_EQ(gdi.GetPixel(groundDc, 0, 0), kBlue);
}

TEST(SimGdiBlits, ClipsToBothBitmapsAndCopiesOverlapsFromTheOldPixels) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP strip = MakeDib({{kRed, kBlue, kWhite, RGB(0, 0, 0)}});
    HDC dc = gdi.CreateCompatibleDC(nullptr);
    gdi.SelectObject(dc, strip);
    ASSERT_TRUE(gdi.BitBlt(dc, 1, 0, 4, 1, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(gdi.GetPixel(dc, 0, 0), kRed);
    EXPECT_EQ(gdi.GetPixel(dc, 1, 0), kRed);
    EXPECT_EQ(gdi.GetPixel(dc, 2, 0), kBlue);
    EXPECT_EQ(gdi.GetPixel(dc, 3, 0), kWhite);
    EXPECT_TRUE(gdi.BitBlt(dc, -5, -5, 3, 3, dc, 0, 0, SRCCOPY));  // wholly outside: nothing, no crash
    EXPECT_FALSE(gdi.BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, 0x00330008));  // NOTSRCCOPY is not supported
}

TEST(SimGdiText, TextsMoveWithCopiedPixelsAndVanishUnderFills) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP window = gdi.CreateCompatibleBitmap(nullptr, 100, 50);
    HDC windowDc = machine.gdi.CreateSurfaceDC(window);
    HDC secondWindowDc = machine.gdi.CreateSurfaceDC(window);
    HDC memory = gdi.CreateCompatibleDC(windowDc);
    HBITMAP offscreen = gdi.CreateCompatibleBitmap(windowDc, 100, 50);
    gdi.SelectObject(memory, offscreen);

    gdi.SetTextColor(memory, kWhite);
    gdi.SetBkMode(memory, TRANSPARENT);
    gdi.TextOutA(memory, 15, 10, "title", 5);
    gdi.BitBlt(windowDc, 0, 0, 100, 50, memory, 0, 0, SRCCOPY);
    gdi.SetBkMode(secondWindowDc, TRANSPARENT);
    gdi.TextOutA(secondWindowDc, 20, 30, "line", 4);

    auto texts = machine.gdi.Texts(window);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "title");
    EXPECT_EQ(texts[0].origin.x, 15);
    EXPECT_EQ(texts[0].colour, kWhite);
    EXPECT_TRUE(texts[0].transparent);
    EXPECT_EQ(texts[1].dc, secondWindowDc);

    // Repainting the background removes what was written there before.
    gdi.BitBlt(windowDc, 0, 0, 100, 50, memory, 0, 0, SRCCOPY);
    EXPECT_EQ(machine.gdi.Texts(windowDc).size(), 1u);
    RECT top{0, 0, 100, 20};
    gdi.SetBkColor(windowDc, RGB(245, 245, 245));
    gdi.ExtTextOutA(windowDc, 0, 0, ETO_OPAQUE, &top, nullptr, 0, nullptr);
    EXPECT_TRUE(machine.gdi.Texts(window).empty());
    EXPECT_EQ(gdi.GetPixel(windowDc, 99, 19), RGB(245, 245, 245));
    EXPECT_EQ(gdi.GetPixel(windowDc, 99, 20), RGB(0, 0, 0));

    // An opaque background fills the text cells.
    gdi.SetBkMode(windowDc, OPAQUE);
    gdi.SetBkColor(windowDc, kRed);
    gdi.TextOutA(windowDc, 0, 30, "ab", 2);
    EXPECT_EQ(gdi.GetPixel(windowDc, 0, 30), kRed);
    EXPECT_FALSE(gdi.DeleteObject(window));  // still drawn on by the window DCs
    gdi.DeleteDC(windowDc);
    gdi.DeleteDC(secondWindowDc);
    EXPECT_TRUE(gdi.DeleteObject(window));
}

TEST(SimGdiText, DrawTextMeasuresWrapsAndCentres) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP surface = gdi.CreateCompatibleBitmap(nullptr, 200, 100);
    HDC dc = machine.gdi.CreateSurfaceDC(surface);
    gdi.SelectObject(dc, machine.gdi.CreateFontObject("Gulim", 12));  // 6 pixels a byte
    RECT measured{0, 0, 50, 0};
    EXPECT_EQ(gdi.DrawTextA(dc, "aaaa bbbb cc", -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER), 24);
    EXPECT_EQ(measured.right, 42);  // "aaaa" / "bbbb cc"
    EXPECT_EQ(measured.bottom, 24);
    EXPECT_TRUE(machine.gdi.Texts(dc).empty());

    RECT box{10, 5, 60, 29};
    gdi.DrawTextA(dc, "aaaa bbbb cc", -1, &box, DT_WORDBREAK | DT_CENTER);
    auto texts = machine.gdi.Texts(dc);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "aaaa");
    EXPECT_EQ(texts[0].origin.x, 10 + (50 - 24) / 2);
    EXPECT_EQ(texts[1].text, "bbbb cc");
    EXPECT_EQ(texts[1].origin.y, 17);
}

TEST(SimGdiRegions, CombinationsKeepTheBandedForm) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
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
    EXPECT_EQ(RegionRects(result),
              (std::vector<RECT>{{0, 0, 4, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {2, 4, 6, 6}}));
    EXPECT_EQ(gdi.CombineRgn(result, a, a, RGN_XOR), NULLREGION);
    EXPECT_EQ(gdi.CombineRgn(result, b, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(gdi.CombineRgn(result, a, nullptr, RGN_OR), RGN_ERROR);
    // Reversed corners are put in order.
    HRGN reversed = gdi.CreateRectRgn(5, 5, 1, 1);
    EXPECT_EQ(RegionRects(reversed), (std::vector<RECT>{{1, 1, 5, 5}}));
}

TEST(SimGdiRegions, RectangleListsMergeIntoBandsAndBadHeadersAreRefused) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    // Two rows with the same span merge into one band; an overlapping rectangle joins.
    std::vector<RECT> rects = {{0, 0, 3, 1}, {0, 1, 3, 2}, {2, 0, 5, 1}, {7, 7, 7, 9}};
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()), 0, {0, 0, 0, 0}};
    std::memcpy(data.data(), &header, sizeof(header));
    std::memcpy(data.data() + sizeof(header), rects.data(), rects.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    HRGN made = gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(RegionRects(made), (std::vector<RECT>{{0, 0, 5, 1}, {0, 1, 3, 2}}));

    std::vector<BYTE> out(sizeof(RGNDATAHEADER) + 2 * sizeof(RECT));
    EXPECT_EQ(gdi.GetRegionData(made, static_cast<DWORD>(out.size() - 1), reinterpret_cast<RGNDATA*>(out.data())),
              0u);
    ASSERT_EQ(gdi.GetRegionData(made, static_cast<DWORD>(out.size()), reinterpret_cast<RGNDATA*>(out.data())),
              out.size());
    const auto* written = reinterpret_cast<const RGNDATAHEADER*>(out.data());
    EXPECT_EQ(written->nCount, 2u);
    EXPECT_EQ(written->rcBound, (RECT{0, 0, 5, 2}));

    EXPECT_EQ(gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(data.size() - 1), region), nullptr);
    region->rdh.iType = 2;
    EXPECT_EQ(gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region), nullptr);
}

TEST(SimGdiFaults, InjectedFailuresHitTheChosenCall) {
    sim::Machine machine;
    machine.gdi.FailCall("CreateCompatibleDC", 1);
    HDC first = machine.gdi.CreateCompatibleDC(nullptr);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(machine.gdi.CreateCompatibleDC(nullptr), nullptr);
    HDC third = machine.gdi.CreateCompatibleDC(nullptr);
    EXPECT_NE(third, nullptr);
    machine.gdi.DeleteDC(first);
    machine.gdi.DeleteDC(third);
}

}  // namespace
