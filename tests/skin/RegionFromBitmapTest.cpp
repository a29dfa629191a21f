#include "skin/RegionFromBitmap.h"

#include <gtest/gtest.h>

#include "platform/sim/Machine.h"
#include "skin/TestBitmaps.h"

namespace {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::MakeDib;
using testing_bitmaps::RegionRects;
using testing_bitmaps::Rows;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);

class RegionFromBitmapTest : public ::testing::Test {
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

    bool CountsAsKey(COLORREF key, COLORREF pixel) {
        std::vector<RECT> nonKey = RegionOf({{pixel}}, key, 1);
        EXPECT_EQ(RegionOf({{pixel}}, key, 0), nonKey) << "both scan modes give one area";
        return nonKey.empty();
    }

    sim::Machine machine;
};

TEST_F(RegionFromBitmapTest, KeyColourTolerancePerChannel) {
    struct Case {
        COLORREF key;
        COLORREF pixel;
        bool key_coloured;
    };
    const Case cases[] = {
        {kBlack, RGB(16, 16, 16), true},
        {kBlack, RGB(17, 0, 0), false},
        {kBlack, RGB(0, 0, 17), false},
        {RGB(255, 255, 255), RGB(239, 239, 239), true},
        {RGB(255, 255, 255), RGB(238, 255, 255), false},
        {RGB(255, 0, 0), RGB(240, 10, 0), true},
        {RGB(255, 0, 0), RGB(255, 17, 17), true},  // a zero channel of another key reaches 17
        {RGB(255, 0, 0), RGB(237, 0, 0), false},
        {RGB(255, 0, 0), RGB(0, 0, 255), false},
        {RGB(100, 100, 100), RGB(83, 117, 100), true},
        {RGB(100, 100, 100), RGB(82, 100, 100), false},
        {RGB(100, 100, 100), RGB(100, 118, 100), false},
        {RGB(10, 240, 250), RGB(0, 255, 233), true},
        {RGB(10, 240, 250), RGB(28, 255, 255), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountsAsKey(c.key, c.pixel), c.key_coloured) << std::hex << "key " << c.key << " pixel " << c.pixel;
    }
}

TEST_F(RegionFromBitmapTest, TwoByTwoWithTheTopLeftPixelBlack) {
    Rows rows = Filled(2, 2, kGrey);
    rows[0][0] = kBlack;
    std::vector<RECT> expected = {{1, 0, 2, 1}, {0, 1, 2, 2}};
    for (int bits : {1, 8, 24, 32}) {
        EXPECT_EQ(RegionOf(rows, kBlack, 1, bits), expected) << bits << " bits";
        EXPECT_EQ(RegionOf(rows, kBlack, 0, bits), expected) << bits << " bits";
    }
}

TEST_F(RegionFromBitmapTest, AllKeyIsEmptyAndNoKeyIsTheFullRectangle) {
    for (int mode : {0, 1}) {
        EXPECT_TRUE(RegionOf(Filled(7, 5, kBlack), kBlack, mode).empty());
        EXPECT_EQ(RegionOf(Filled(7, 5, kGrey), kBlack, mode), (std::vector<RECT>{{0, 0, 7, 5}}));
    }
}

TEST_F(RegionFromBitmapTest, ShapedPictureInBothModes) {
    // A ring: rows with one run, two runs, one run.
    Rows rows = {
        {kBlack, kGrey, kGrey, kGrey, kBlack},
        {kGrey, kGrey, kBlack, kGrey, kGrey},
        {kGrey, kGrey, kBlack, kGrey, kGrey},
        {kBlack, kGrey, kGrey, kGrey, kBlack},
    };
    std::vector<RECT> expected = {{1, 0, 4, 1}, {0, 1, 2, 3}, {3, 1, 5, 3}, {1, 3, 4, 4}};
    EXPECT_EQ(RegionOf(rows, kBlack, 1), expected);
    EXPECT_EQ(RegionOf(rows, kBlack, 0), expected);
}

// One row of 3001 single-pixel runs: a full batch of 3000 and a batch of one.
class RegionBatchesTest : public RegionFromBitmapTest {
protected:
    RegionBatchesTest() : rows(1, std::vector<COLORREF>(6001, kBlack)) {
        for (size_t x = 0; x < rows[0].size(); x += 2) {
            rows[0][x] = kGrey;
            expected.push_back(RECT{static_cast<LONG>(x), 0, static_cast<LONG>(x) + 1, 1});
        }
    }
    Rows rows;
    std::vector<RECT> expected;
};

TEST_F(RegionBatchesTest, TwoBatchesGiveTheWholeRegion) {
    ASSERT_EQ(expected.size(), 3001u);
    EXPECT_EQ(RegionOf(rows, kBlack, 1), expected);
}

TEST_F(RegionBatchesTest, EachBatchIsItsOwnRegion) {
    // The second region call holds only the last run; when it fails, that run is missing.
    machine.gdi.FailCall("ExtCreateRegion", 1);
    std::vector<RECT> withoutLast(expected.begin(), expected.end() - 1);
    EXPECT_EQ(RegionOf(rows, kBlack, 1), withoutLast);
    // When the first fails, the second becomes the result.
    machine.gdi.FailCall("ExtCreateRegion", 0);
    EXPECT_EQ(RegionOf(rows, kBlack, 1), std::vector<RECT>{expected.back()});
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
