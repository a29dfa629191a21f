// The skin painters: PaintSkinFrame, DrawBitmapAt and the shared skin bitmaps.
#include <gtest/gtest.h>

#include "sim/MachineTest.h"
#include "resources/ResourceIds.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinDraw.h"
#include "skin/SkinFrame.h"
#include "skin/TestBitmaps.h"

namespace {
using namespace win;
using namespace resources;

constexpr DWORD kLeftPixel = 0x00AA0000;
constexpr DWORD kTilePixel = 0x0000AA00;
constexpr DWORD kRightPixel = 0x000000AA;
constexpr DWORD kBodyPixel = 0x00202020;

class SkinPaintTest : public sim::MachineTest {
protected:
    SkinPaintTest() {
        machine.user.SetBitmapResource(IDB_TITLE_LEFT, 3, 31, std::vector<DWORD>(3 * 31, kLeftPixel));
        machine.user.SetBitmapResource(IDB_TITLE_TILE, 30, 31, std::vector<DWORD>(30 * 31, kTilePixel));
        machine.user.SetBitmapResource(IDB_TITLE_RIGHT, 2, 31, std::vector<DWORD>(2 * 31, kRightPixel));
        machine.user.SetBitmapResource(IDB_BOOST_BODY, 316, 177, std::vector<DWORD>(316 * 177, kBodyPixel));
        canvas = machine.gdi.CreateCompatibleBitmap(nullptr, 316, 367);
        dc = machine.gdi.CreateCompatibleDC(nullptr);
        original = machine.gdi.SelectObject(dc, canvas);
    }
    void TearDown() override {
        machine.gdi.SelectObject(dc, original);
        machine.gdi.DeleteDC(dc);
        machine.gdi.DeleteObject(canvas);
        MachineTest::TearDown();
    }

    HBITMAP canvas;
    HDC dc;
    HGDIOBJ original;
};

TEST_F(SkinPaintTest, FrameOnA316PixelWindow) {
    ASSERT_TRUE(LoadSkinBitmaps());
    const SkinBitmapSet& skin = SkinBitmaps();
    PaintSkinFrame(dc, RECT{0, 0, 316, 367}, 1, 31, skin.boostBody.Get());

    std::vector<LONG> tiles;
    std::vector<HBITMAP> order;
    for (const sim::BlitRecord& blit : machine.gdi.Blits(canvas)) {
        if (blit.source == skin.titleTile.Get()) {
            tiles.push_back(blit.target.left);
            EXPECT_EQ(blit.target.top, 0);
        }
        if (blit.source == skin.titleRight.Get()) {
            EXPECT_EQ(blit.target.left, 314);
        }
        if (blit.source == skin.titleLeft.Get()) {
            EXPECT_EQ(blit.target.left, 0);
        }
        if (blit.source == skin.boostBody.Get()) {
            EXPECT_EQ(blit.target.left, 1);
            EXPECT_EQ(blit.target.top, 31);
        }
        if (order.empty() || order.back() != blit.source) order.push_back(blit.source);
    }
    std::vector<LONG> expectedTiles;
    for (LONG x = 3; x <= 303; x += 30) expectedTiles.push_back(x);
    EXPECT_EQ(tiles, expectedTiles);
    EXPECT_EQ(order, (std::vector<HBITMAP>{skin.titleTile.Get(), skin.boostBody.Get(), skin.titleLeft.Get(),
                                           skin.titleRight.Get()}));

    EXPECT_EQ(machine.gdi.GetPixel(dc, 2, 5), RGB(0xAA, 0, 0));  // the left end's only visible column
    EXPECT_EQ(machine.gdi.GetPixel(dc, 310, 5), RGB(0, 0xAA, 0));
    EXPECT_EQ(machine.gdi.GetPixel(dc, 100, 100), RGB(0x20, 0x20, 0x20));
    EXPECT_EQ(machine.gdi.GetPixel(dc, 100, 300), RGB(245, 245, 245));
    for (POINT outer : {POINT{0, 0}, POINT{0, 200}, POINT{315, 200}, POINT{100, 366}, POINT{314, 0}}) {
        EXPECT_EQ(machine.gdi.GetPixel(dc, outer.x, outer.y), RGB(112, 112, 112)) << outer.x << "," << outer.y;
    }
    for (POINT inner : {POINT{1, 200}, POINT{314, 200}, POINT{100, 1}, POINT{100, 365}}) {
        EXPECT_EQ(machine.gdi.GetPixel(dc, inner.x, inner.y), RGB(93, 224, 255)) << inner.x << "," << inner.y;
    }

    size_t loaded = machine.gdi.LiveObjects();
    FreeSkinBitmaps();
    EXPECT_EQ(machine.gdi.LiveObjects(), loaded - 5);
    EXPECT_EQ(SkinBitmaps().titleTile.Get(), nullptr);
}

TEST_F(SkinPaintTest, SkinBitmapsAreSections) {
    ASSERT_TRUE(LoadSkinBitmaps());
    DIBSECTION section{};
    EXPECT_EQ(machine.gdi.GetObjectA(SkinBitmaps().mainBody.Get(), sizeof(section), &section),
              static_cast<int>(sizeof(DIBSECTION)));
    EXPECT_EQ(section.dsBm.bmWidth, 498);
    FreeSkinBitmaps();
}

TEST_F(SkinPaintTest, DrawBitmapAtReportsTheSizeOnlyToBothOutputs) {
    int width = -1;
    int height = -1;
    EXPECT_EQ(DrawBitmapAt(dc, nullptr, 0, 0, &width, &height), 0);
    EXPECT_EQ(width, -1);

    HBITMAP picture = testing_bitmaps::MakeDib(testing_bitmaps::Filled(5, 4, RGB(1, 2, 3)));
    EXPECT_EQ(DrawBitmapAt(dc, picture, 10, 20, &width, nullptr), 1);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(machine.gdi.GetPixel(dc, 14, 23), RGB(1, 2, 3));
    EXPECT_EQ(DrawBitmapAt(dc, picture, 0, 0, &width, &height), 1);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 4);

    // A bitmap held by another DC cannot be drawn; nothing is left behind.
    HDC holder = machine.gdi.CreateCompatibleDC(nullptr);
    HGDIOBJ held = machine.gdi.SelectObject(holder, picture);
    EXPECT_EQ(DrawBitmapAt(dc, picture, 0, 0), 0);
    EXPECT_EQ(machine.gdi.LiveDcs(), 2u);
    machine.gdi.SelectObject(holder, held);
    machine.gdi.DeleteDC(holder);
    EXPECT_TRUE(machine.gdi.DeleteObject(picture));
}

}  // namespace
