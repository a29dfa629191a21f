// RegionFromBitmap against the real GDI.
#include <gtest/gtest.h>

#include "skin/RegionCases.h"
#include "skin/RegionFromBitmap.h"

namespace {
using namespace win;
using namespace region_cases;
using testing_bitmaps::MakeDib;
using testing_bitmaps::RegionRects;

std::vector<RECT> RegionOf(HBITMAP bitmap, COLORREF key, int scanMode) {
    HRGN region = RegionFromBitmap(bitmap, key, scanMode);
    EXPECT_NE(region, nullptr);
    std::vector<RECT> rects = RegionRects(region);
    EXPECT_TRUE(platform::Gdi().DeleteObject(region));
    return rects;
}

TEST(RegionFromBitmapWine, ShapesOfRealSectionsInEveryFormat) {
    for (const ShapeCase& shape : ShapeCases()) {
        for (int bits : {1, 8, 24, 32}) {
            HBITMAP bitmap = MakeDib(shape.rows, bits);
            ASSERT_NE(bitmap, nullptr);
            for (int mode : {0, 1}) {
                EXPECT_EQ(RegionOf(bitmap, kBlack, mode), shape.expected)
                    << shape.name << ", " << bits << " bits, mode " << mode;
            }
            EXPECT_TRUE(platform::Gdi().DeleteObject(bitmap)) << "the bitmap must be left deselected";
        }
    }
}

TEST(RegionFromBitmapWine, KeyColourTolerancePerChannel) {
    for (const KeyCase& c : KeyCases()) {
        HBITMAP bitmap = MakeDib({{c.pixel}});
        EXPECT_EQ(RegionOf(bitmap, c.key, 1).empty(), c.keyColoured) << std::hex << c.key << " " << c.pixel;
        platform::Gdi().DeleteObject(bitmap);
    }
}

TEST(RegionFromBitmapWine, DeviceDependentInput) {
    // A 32-bit device-dependent bitmap: grey on the right half.
    std::vector<DWORD> pixels = {0, 0, 0x808080, 0x808080, 0, 0, 0x808080, 0x808080};
    HBITMAP bitmap = platform::Gdi().CreateBitmap(4, 2, 1, 32, pixels.data());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(RegionOf(bitmap, kBlack, 1), (std::vector<RECT>{{2, 0, 4, 2}}));
    platform::Gdi().DeleteObject(bitmap);
}

}  // namespace
