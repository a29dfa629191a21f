// Skin drawing on the real GDI: masked button pictures and the frame painter.
#include <gtest/gtest.h>

#include "skin/SkinButton.h"
#include "skin/SkinDraw.h"
#include "skin/SkinFrame.h"
#include "skin/TestBitmaps.h"
#include "skin/TestButton.h"

namespace {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::MakeDib;
using testing_bitmaps::Rows;

using namespace skin_button_test;

class SkinDrawingWine : public ::testing::Test {
protected:
    SkinDrawingWine() {
        canvas = MakeDib(Filled(316, 367, RGB(9, 9, 9)));
        dc = gdi.CreateCompatibleDC(nullptr);
        original = gdi.SelectObject(dc, canvas);
    }
    ~SkinDrawingWine() override {
        gdi.SelectObject(dc, original);
        gdi.DeleteDC(dc);
        gdi.DeleteObject(canvas);
    }
    COLORREF At(int x, int y) { return gdi.GetPixel(dc, x, y); }

    platform::IGdi& gdi = platform::Gdi();
    HBITMAP canvas;
    HDC dc;
    HGDIOBJ original;
};

TEST_F(SkinDrawingWine, ButtonPicturesLeaveTheBackgroundUnderKeyPixels) {
    TestButton button;
    Rows hot = Filled(4, 4, kRed);
    hot[0][0] = kBlack;
    hot[0][1] = kNearBlack;
    Rows idle = Filled(4, 4, kBlue);
    idle[3][3] = kBlack;
    ASSERT_EQ(button.SetBitmapHandles(MakeDib(hot), kBlack, MakeDib(idle), kBlack), SkinButton::kOk);
    button.SetColor(SkinButton::kHotBackground, kYellow, false);
    button.SetColor(SkinButton::kIdleBackground, kGreen, false);
    button.SetPressedOffset(255, false);
    button.SetFlatBorder(false, false);

    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, 0, 0, nullptr, dc, RECT{0, 0, 20, 20}, 0};
    button.DrawItem(item);
    EXPECT_EQ(At(0, 0), kGreen);
    EXPECT_EQ(At(8, 8), kBlue);
    EXPECT_EQ(At(11, 11), kGreen);

    item.itemState = ODS_SELECTED;
    button.DrawItem(item);
    EXPECT_EQ(At(8, 8), kYellow);
    EXPECT_EQ(At(9, 8), kNearBlack);
    EXPECT_EQ(At(10, 8), kRed);

    item.itemState = ODS_DISABLED;
    button.DrawItem(item);
    EXPECT_EQ(At(8, 8), platform::User().GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(12, 12), kGreen);
}

TEST_F(SkinDrawingWine, FramePainterBordersGroundAndBody) {
    HBITMAP body = MakeDib(Filled(316, 177, RGB(32, 32, 32)));
    PaintSkinFrame(dc, RECT{0, 0, 316, 367}, 1, 31, body);
    EXPECT_EQ(At(0, 200), RGB(112, 112, 112));
    EXPECT_EQ(At(315, 200), RGB(112, 112, 112));
    EXPECT_EQ(At(100, 366), RGB(112, 112, 112));
    EXPECT_EQ(At(1, 200), RGB(93, 224, 255));
    EXPECT_EQ(At(314, 200), RGB(93, 224, 255));
    EXPECT_EQ(At(100, 1), RGB(93, 224, 255));
    EXPECT_EQ(At(100, 100), RGB(32, 32, 32));
    EXPECT_EQ(At(100, 300), RGB(245, 245, 245));
    EXPECT_EQ(At(100, 10), RGB(245, 245, 245));  // no title-bar pieces loaded
    gdi.DeleteObject(body);
}

}  // namespace
