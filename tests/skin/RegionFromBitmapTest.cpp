#include "skin/RegionFromBitmap.h"

#include <gtest/gtest.h>

#include "sim/MachineTest.h"
#include "skin/RegionCases.h"

namespace {
using namespace win;
using namespace region_cases;
using testing_bitmaps::MakeDib;
using testing_bitmaps::RegionRects;

class RegionFromBitmapTest : public sim::MachineTest {
protected:
    // The region's rectangles; the region and the bitmap are freed.
    std::vector<RECT> RegionOf(const Rows& rows, COLORREF key, int scanMode, int bitsPerPixel = 32) {
        HBITMAP bitmap = MakeDib(rows, bitsPerPixel);
        HRGN region = RegionFromBitmap(bitmap, key, scanMode);
        EXPECT_NE(region, nullptr);
        std::vector<RECT> rects = RegionRects(region);
        machine.gdi.DeleteObject(region);
        EXPECT_TRUE(machine.gdi.DeleteObject(bitmap)) << "the bitmap must be left deselected";
        EXPECT_EQ(machine.gdi.LiveObjects(), 0u);
        EXPECT_EQ(machine.gdi.LiveDcs(), 0u);
        return rects;
    }

};

TEST_F(RegionFromBitmapTest, KeyColourTolerancePerChannel) {
    for (const KeyCase& c : KeyCases()) {
        for (int mode : {0, 1}) {
            EXPECT_EQ(RegionOf({{c.pixel}}, c.key, mode).empty(), c.keyColoured)
                << std::hex << "key " << c.key << " pixel " << c.pixel << " mode " << mode;
        }
    }
}

TEST_F(RegionFromBitmapTest, ShapesInEveryInputFormatAndBothModes) {
    for (const ShapeCase& shape : ShapeCases()) {
        for (int bits : {1, 8, 24, 32}) {
            for (int mode : {0, 1}) {
                EXPECT_EQ(RegionOf(shape.rows, kBlack, mode, bits), shape.expected)
                    << shape.name << ", " << bits << " bits, mode " << mode;
            }
        }
    }
}

TEST_F(RegionFromBitmapTest, EachBatchOfRunsIsItsOwnRegion) {
    ShapeCase shape = ManyRuns();
    // The second region call holds only the last run; when it fails, that run is missing.
    machine.gdi.FailCall("ExtCreateRegion", 1);
    std::vector<RECT> withoutLast(shape.expected.begin(), shape.expected.end() - 1);
    EXPECT_EQ(RegionOf(shape.rows, kBlack, 1), withoutLast);
    // When the first fails, the second becomes the result.
    machine.gdi.FailCall("ExtCreateRegion", 0);
    EXPECT_EQ(RegionOf(shape.rows, kBlack, 1), std::vector<RECT>{shape.expected.back()});
}

TEST_F(RegionFromBitmapTest, FailuresGiveNullAndReleaseEverything) {
    EXPECT_EQ(RegionFromBitmap(nullptr, kBlack, 1), nullptr);
    HBITMAP bitmap = MakeDib(Filled(3, 3, kGrey));
    for (const char* call : {"CreateCompatibleDC", "CreateDIBSection", "CreateRectRgn"}) {
        machine.gdi.FailCall(call);
        EXPECT_EQ(RegionFromBitmap(bitmap, kBlack, 0), nullptr) << call;
        EXPECT_EQ(machine.gdi.LiveObjects(), 1u) << call;
        EXPECT_EQ(machine.gdi.LiveDcs(), 0u) << call;
    }
    machine.gdi.FailCall("CreateCompatibleDC", 1);  // the second context
    EXPECT_EQ(RegionFromBitmap(bitmap, kBlack, 1), nullptr);
    EXPECT_EQ(machine.gdi.LiveObjects(), 1u);
    EXPECT_EQ(machine.gdi.LiveDcs(), 0u);
    machine.gdi.DeleteObject(bitmap);
}

TEST_F(RegionFromBitmapTest, DeviceDependentInput) {
    platform::IGdi& gdi = machine.gdi;
    HBITMAP picture = gdi.CreateCompatibleBitmap(nullptr, 4, 2);
    HDC dc = gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ old = gdi.SelectObject(dc, picture);
    gdi.SetBkColor(dc, kGrey);
    RECT right{2, 0, 4, 2};
    gdi.ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &right, nullptr, 0, nullptr);
    gdi.SelectObject(dc, old);
    gdi.DeleteDC(dc);
    HRGN region = RegionFromBitmap(picture, kBlack, 1);
    EXPECT_EQ(RegionRects(region), (std::vector<RECT>{{2, 0, 4, 2}}));
    gdi.DeleteObject(region);
    gdi.DeleteObject(picture);
}

}  // namespace
