#include "sim/Gdi.h"

#include <gtest/gtest.h>

#include "platform/GdiBehaviour.h"
#include "sim/Machine.h"
#include "skin/TestBitmaps.h"

namespace {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::MakeDib;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The same checks run on the real GDI under Wine.
class SimGdiBehaviour : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(machine.gdi.LiveObjects(), 0u);
        EXPECT_EQ(machine.gdi.LiveDcs(), 0u);
    }
    sim::Machine machine;
};

TEST_F(SimGdiBehaviour, SectionsKeepTheirFormatAndRowOrder) { gdi_behaviour::SectionsKeepTheirFormatAndRowOrder(); }

TEST_F(SimGdiBehaviour, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
    HBITMAP window = machine.gdi.CreateCompatibleBitmap(nullptr, 8, 8);
    HDC windowDc = machine.gdi.CreateSurfaceDC(window);
    gdi_behaviour::CompatibleBitmapOfAFreshMemoryDcIsMonochrome(windowDc);
    machine.gdi.DeleteDC(windowDc);
    machine.gdi.DeleteObject(window);
}

TEST_F(SimGdiBehaviour, ABitmapLivesInOneDcAtATime) { gdi_behaviour::ABitmapLivesInOneDcAtATime(); }

TEST_F(SimGdiBehaviour, MaskedPictureLeavesTheGroundUnderKeyPixels) {
    gdi_behaviour::MaskedPictureLeavesTheGroundUnderKeyPixels();
}

TEST_F(SimGdiBehaviour, OverlappingCopiesReadTheOldPixels) { gdi_behaviour::OverlappingCopiesReadTheOldPixels(); }

TEST_F(SimGdiBehaviour, RegionCombinationsKeepTheBandedForm) { gdi_behaviour::RegionCombinationsKeepTheBandedForm(); }

TEST_F(SimGdiBehaviour, RectangleListsMergeIntoBands) { gdi_behaviour::RectangleListsMergeIntoBands(); }

// Windows refuses to delete a selected bitmap; the sim keeps it alive so tests see the leak.
TEST(SimGdiBitmaps, SelectedBitmapsAndBadHandlesAreRefused) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP bitmap = MakeDib(Filled(2, 2, kRed));
    HDC dc = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ original = gdi.SelectObject(dc, bitmap);
    EXPECT_FALSE(gdi.DeleteObject(bitmap));
    EXPECT_EQ(machine.gdi.LiveObjects(), 1u);
    gdi.SelectObject(dc, original);
    EXPECT_TRUE(gdi.DeleteObject(bitmap));
    EXPECT_TRUE(gdi.DeleteDC(dc));
    EXPECT_FALSE(gdi.DeleteDC(dc));
    EXPECT_EQ(gdi.CreateCompatibleBitmap(reinterpret_cast<HDC>(0x1234), 2, 2), nullptr);
    EXPECT_EQ(gdi.CreateCompatibleDC(reinterpret_cast<HDC>(0x1234)), nullptr);
    EXPECT_FALSE(gdi.BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
}

TEST(SimGdiBlits, ClipsToBothBitmapsAndRefusesOtherOperations) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HBITMAP strip = MakeDib({{kRed, kBlue}});
    HDC dc = gdi.CreateCompatibleDC(nullptr);
    gdi.SelectObject(dc, strip);
    EXPECT_TRUE(gdi.BitBlt(dc, 1, 0, 4, 4, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(gdi.GetPixel(dc, 1, 0), kRed);
    EXPECT_TRUE(gdi.BitBlt(dc, -5, -5, 3, 3, dc, 0, 0, SRCCOPY));  // wholly outside: nothing changes
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

TEST(SimGdiRegions, ShortBuffersAndBadHeadersAreRefused) {
    sim::Machine machine;
    platform::IGdi& gdi = machine.gdi;
    HRGN region = gdi.CreateRectRgn(0, 0, 2, 2);
    std::vector<BYTE> out(sizeof(RGNDATAHEADER) + sizeof(RECT));
    EXPECT_EQ(gdi.GetRegionData(region, 0, nullptr), out.size());
    EXPECT_EQ(gdi.GetRegionData(region, static_cast<DWORD>(out.size() - 1), reinterpret_cast<RGNDATA*>(out.data())),
              0u);
    EXPECT_EQ(gdi.CombineRgn(region, region, nullptr, RGN_OR), RGN_ERROR);

    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, 0, {0, 0, 0, 0}};
    std::memcpy(out.data(), &header, sizeof(header));
    auto* data = reinterpret_cast<RGNDATA*>(out.data());
    EXPECT_EQ(gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(out.size() - 1), data), nullptr);
    data->rdh.iType = 2;
    EXPECT_EQ(gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(out.size()), data), nullptr);
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
