#include "skin/SkinButton.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim/MachineTest.h"
#include "skin/SkinDraw.h"
#include "skin/TestBitmaps.h"
#include "skin/TestButton.h"

namespace {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::MakeDib;
using testing_bitmaps::PixelAt;
using testing_bitmaps::Rows;

using namespace skin_button_test;
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kCanvas = RGB(9, 9, 9);

// Messages that reach the window's own procedure behind the button.
std::vector<std::pair<UINT, WPARAM>> received;

LRESULT KAPI RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.emplace_back(message, wParam);
    return platform::User().DefWindowProcA(window, message, wParam, lParam);
}

class SkinButtonTest : public sim::MachineTest {
protected:
    SkinButtonTest() {
        received.clear();
        canvas = gdi.CreateCompatibleBitmap(nullptr, 40, 20);
        dc = gdi.CreateCompatibleDC(nullptr);
        original = gdi.SelectObject(dc, canvas);
    }
    void TearDown() override {
        gdi.SelectObject(dc, original);
        gdi.DeleteDC(dc);
        gdi.DeleteObject(canvas);
        MachineTest::TearDown();
    }

    // Hot picture: red with a black key pixel at (0, 0) and a near-black one at (1, 0).
    // Idle picture: blue with a black key pixel at (3, 3).
    void GivePictures(TestButton& button, bool withIdle = true) {
        Rows hot = Filled(4, 4, kRed);
        hot[0][0] = kBlack;
        hot[0][1] = kNearBlack;
        Rows idle = Filled(4, 4, kBlue);
        idle[3][3] = kBlack;
        ASSERT_EQ(button.SetBitmapHandles(MakeDib(hot), kBlack, withIdle ? MakeDib(idle) : nullptr, kBlack),
                  SkinButton::kOk);
        button.SetColor(SkinButton::kHotBackground, kYellow, false);
        button.SetColor(SkinButton::kIdleBackground, kGreen, false);
        button.SetColor(SkinButton::kFocusBackground, kCyan, false);
    }

    // Draws the button on a cleared canvas; the picture of a 20 x 20 item sits at (8, 8).
    void Draw(TestButton& button, UINT state = 0, RECT item = RECT{0, 0, 20, 20}) {
        FillSolidRect(dc, RECT{0, 0, 40, 20}, kCanvas);
        DRAWITEMSTRUCT request{ODT_BUTTON, 0, 0, 0, state, button.Handle(), dc, item, 0};
        button.DrawItem(request);
    }

    COLORREF At(int x, int y) { return gdi.GetPixel(dc, x, y); }

    HWND MakeWindow(DWORD buttonStyle, const char* text = "") {
        HWND window = machine.user.CreateTopLevelWindow("Button", text, 0, true, &RecordingProcedure);
        platform::User().SetWindowLongPtrA(window, GWL_STYLE, WS_POPUP | WS_VISIBLE | buttonStyle);
        return window;
    }

    void Pump() {
        MSG message;
        while (machine.user.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) machine.user.DispatchMessageA(&message);
    }

    // The test window lies at (100, 100)-(300, 200) on the screen.
    void MoveTo(int x, int y, bool leftButtonDown = false) {
        machine.user.MoveMouse(POINT{x, y}, leftButtonDown);
        Pump();
    }

    platform::IGdi& gdi = machine.gdi;
    HBITMAP canvas;
    HDC dc;
    HGDIOBJ original;
};

TEST_F(SkinButtonTest, PicturesFollowTheStateAndKeyPixelsShowTheStateBackground) {
    TestButton button;
    GivePictures(button);
    button.SetPressedOffset(255, false);

    Draw(button);
    EXPECT_EQ(At(0, 0), kGreen);
    EXPECT_EQ(At(8, 8), kBlue);
    EXPECT_EQ(At(11, 11), kGreen);

    Draw(button, ODS_FOCUS);
    EXPECT_EQ(At(0, 0), kCyan);
    EXPECT_EQ(At(8, 8), kBlue);

    Draw(button, ODS_SELECTED);
    EXPECT_EQ(At(8, 8), kYellow);      // exactly the key colour
    EXPECT_EQ(At(9, 8), kNearBlack);   // one step away is drawn unchanged
    EXPECT_EQ(At(10, 8), kRed);
    EXPECT_EQ(At(5, 5), kYellow);
    // Sunken frame while pressed.
    EXPECT_EQ(At(0, 0), machine.user.GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(19, 19), machine.user.GetSysColor(COLOR_BTNHIGHLIGHT));

    button.SetFlatBorder(false, false);
    Draw(button, ODS_SELECTED);
    EXPECT_EQ(At(0, 0), kYellow);
    EXPECT_EQ(At(19, 19), kYellow);
}

TEST_F(SkinButtonTest, PressedOffsetModes) {
    TestButton button;
    GivePictures(button);
    Draw(button, ODS_SELECTED);  // starts at (1, 1)
    EXPECT_EQ(At(10, 9), kNearBlack);
    button.SetPressedOffset(1, false);
    Draw(button, ODS_SELECTED);
    EXPECT_EQ(At(9, 10), kNearBlack);
    button.SetPressedOffset(0, false);
    Draw(button, ODS_SELECTED);
    EXPECT_EQ(At(10, 9), kNearBlack);
    button.SetPressedOffset(7, false);
    Draw(button, ODS_SELECTED);
    EXPECT_EQ(At(9, 8), kNearBlack);
}

TEST_F(SkinButtonTest, WithoutAnIdlePictureTheFirstShowsInEveryState) {
    TestButton button;
    GivePictures(button, false);
    Draw(button);
    EXPECT_EQ(At(9, 8), kNearBlack);
    EXPECT_EQ(At(8, 8), kGreen);
}

TEST_F(SkinButtonTest, DisabledPictureIsEmbossed) {
    TestButton button;
    GivePictures(button);
    Draw(button, ODS_DISABLED);
    EXPECT_EQ(At(8, 8), machine.user.GetSysColor(COLOR_BTNSHADOW));
    // The key pixel at (11, 11) shows the highlight of its neighbour; nothing reaches (12, 12).
    EXPECT_EQ(At(11, 11), machine.user.GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(12, 12), kGreen);
}

TEST_F(SkinButtonTest, PointerTrackingHighlightsAndClears) {
    TestButton button;
    button.Attach(MakeWindow(BS_PUSHBUTTON));
    GivePictures(button);
    button.SetPressedOffset(255, false);

    MoveTo(150, 150, true);  // entering with the left button held: no highlight
    Draw(button);
    EXPECT_EQ(At(8, 8), kBlue);

    MoveTo(151, 150);
    Draw(button);
    EXPECT_EQ(At(8, 8), kYellow);
    EXPECT_EQ(At(0, 0), machine.user.GetSysColor(COLOR_BTNHIGHLIGHT));  // raised frame
    MoveTo(152, 150, true);  // still over it
    Draw(button);
    EXPECT_EQ(At(8, 8), kYellow);

    MoveTo(10, 10, true);  // leaving clears it, button held or not
    Draw(button);
    EXPECT_EQ(At(8, 8), kBlue);

    for (UINT message : {WM_KILLFOCUS, WM_CANCELMODE, WM_ACTIVATE, WM_ENABLE}) {
        MoveTo(150, 150);
        Draw(button);
        ASSERT_EQ(At(8, 8), kYellow);
        machine.user.SendMessageA(button.Handle(), message, 0, 0);
        Draw(button);
        EXPECT_EQ(At(8, 8), kBlue) << message;
        MoveTo(10, 10);
    }
    MoveTo(150, 150);
    machine.user.SendMessageA(button.Handle(), WM_ACTIVATE, 1, 0);  // becoming active keeps it
    Draw(button);
    EXPECT_EQ(At(8, 8), kYellow);
}

TEST_F(SkinButtonTest, CheckBoxShowsItsFirstPictureExactlyWhileChecked) {
    TestButton box;
    HWND window = MakeWindow(BS_AUTOCHECKBOX);
    box.Attach(window);
    EXPECT_EQ(machine.user.Style(window) & BS_TYPEMASK, BS_OWNERDRAW);
    GivePictures(box);

    MoveTo(150, 150);  // pointer over it, unchecked: idle picture
    Draw(box);
    EXPECT_EQ(At(8, 8), kBlue);

    machine.user.SendMessageA(window, BM_SETCHECK, 2, 0);
    EXPECT_EQ(machine.user.SendMessageA(window, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    Draw(box);
    EXPECT_EQ(At(9, 8), kNearBlack);  // no pressed offset for check boxes
    MoveTo(10, 10);
    Draw(box);
    EXPECT_EQ(At(9, 8), kNearBlack);

    LRESULT result = 0;
    EXPECT_FALSE(box.OnReflected(WM_COMMAND, MAKELONG(7, BN_CLICKED), reinterpret_cast<LPARAM>(window), result));
    EXPECT_FALSE(box.GetCheck());
    EXPECT_EQ(machine.user.GetFocus(), window);
    box.OnReflected(WM_COMMAND, MAKELONG(7, BN_CLICKED), reinterpret_cast<LPARAM>(window), result);
    EXPECT_TRUE(box.GetCheck());
    machine.user.SendMessageA(window, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(box.GetCheck());

    TestButton push;
    push.Attach(MakeWindow(BS_PUSHBUTTON));
    push.SetCheck(true, false);
    push.OnReflected(WM_COMMAND, MAKELONG(8, BN_CLICKED), 0, result);
    EXPECT_FALSE(push.GetCheck());
}

TEST_F(SkinButtonTest, LabelBesideThePictureIsCentredInTheRestWithStateColours) {
    TestButton button;
    button.Attach(MakeWindow(BS_AUTOCHECKBOX, "Go"));
    GivePictures(button);
    button.SetColor(SkinButton::kIdleText, kRed, false);
    button.SetColor(SkinButton::kHotText, kBlue, false);
    // Item 40 x 20; picture at x 3; label area from 7; "Go" is 16 x 16 in the system font.
    Draw(button, 0, RECT{0, 0, 40, 20});
    EXPECT_EQ(At(2, 8), kGreen);
    EXPECT_EQ(At(3, 8), kBlue);
    auto texts = machine.gdi.Texts(dc);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Go");
    EXPECT_EQ(texts[0].origin.x, 7 + (33 - 16) / 2);
    EXPECT_EQ(texts[0].origin.y, 2);
    EXPECT_EQ(texts[0].colour, kRed);
    EXPECT_TRUE(texts[0].transparent);

    button.SetCheck(true, false);
    Draw(button, 0, RECT{0, 0, 40, 20});
    EXPECT_EQ(machine.gdi.Texts(dc).at(0).colour, kBlue);

    Draw(button, ODS_DISABLED, RECT{0, 0, 40, 20});
    texts = machine.gdi.Texts(dc);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].colour, machine.user.GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(texts[0].origin.x, texts[1].origin.x + 1);
    EXPECT_EQ(texts[1].colour, machine.user.GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(SkinButtonTest, SetColorTakesTheIndexAsAByteAndRefusesAboveFive) {
    TestButton button;
    std::vector<COLORREF> before;
    for (int i = 0; i < 6; ++i) before.push_back(button.GetColor(i));
    EXPECT_EQ(button.SetColor(6, kRed, true), SkinButton::kInvalidIndex);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(button.GetColor(i), before[i]);
    EXPECT_EQ(button.SetColor(256 + SkinButton::kIdleText, kRed, false), SkinButton::kOk);
    EXPECT_EQ(button.GetColor(SkinButton::kIdleText), kRed);
    EXPECT_EQ(before[SkinButton::kIdleBackground], machine.user.GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(before[SkinButton::kFocusText], machine.user.GetSysColor(COLOR_BTNTEXT));

    // A system colour change brings the system colours back.
    button.Attach(MakeWindow(BS_PUSHBUTTON));
    machine.user.SendMessageA(button.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(button.GetColor(SkinButton::kIdleText), before[SkinButton::kIdleText]);
}

TEST_F(SkinButtonTest, MaskMarksExactKeyPixelsAndBlackensThem) {
    Rows rows = Filled(3, 1, kRed);
    rows[0][1] = kGreen;
    HBITMAP picture = MakeDib(rows);
    HBITMAP mask = SkinButton::MakeMask(picture, 3, 1, kGreen);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(PixelAt(mask, 0, 0), kBlack);
    EXPECT_EQ(PixelAt(mask, 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(picture, 0, 0), kRed);
    EXPECT_EQ(PixelAt(picture, 1, 0), kBlack);
    gdi.DeleteObject(mask);
    gdi.DeleteObject(picture);
}

TEST_F(SkinButtonTest, SetUpFailuresClearAllSlotsAndFreeTheBitmaps) {
    size_t baseline = machine.gdi.LiveObjects();
    {
        TestButton button;
        HBITMAP gone = MakeDib(Filled(2, 2, kRed));
        gdi.DeleteObject(gone);
        EXPECT_EQ(button.SetBitmapHandles(gone, kBlack, MakeDib(Filled(2, 2, kBlue)), kBlack),
                  SkinButton::kInvalidBitmap);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline);

        machine.gdi.FailCall("CreateBitmap", 1);  // the second mask
        EXPECT_EQ(button.SetBitmapHandles(MakeDib(Filled(2, 2, kRed)), kBlack, MakeDib(Filled(2, 2, kBlue)), kBlack),
                  SkinButton::kMaskFailed);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline);
        Draw(button);
        EXPECT_EQ(At(10, 10), button.GetColor(SkinButton::kIdleBackground));

        EXPECT_EQ(button.SetBitmapHandles(nullptr, kBlack, MakeDib(Filled(2, 2, kBlue)), kBlack), SkinButton::kOk);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline);

        EXPECT_EQ(button.SetBitmaps(133, kBlack, 136, kBlack), SkinButton::kOk);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline + 4);  // two pictures, two masks
        EXPECT_EQ(button.SetBitmaps(133, kBlack, 0, kBlack), SkinButton::kOk);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline + 2);
    }
    EXPECT_EQ(machine.gdi.LiveObjects(), baseline);
    EXPECT_EQ(machine.gdi.LiveDcs(), 1u);  // the canvas
}

TEST_F(SkinButtonTest, OwnerDrawStyleDialogCodesAndDoubleClicks) {
    TestButton button;
    HWND window = MakeWindow(BS_DEFPUSHBUTTON);
    button.Attach(window);
    EXPECT_EQ(machine.user.Style(window) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(machine.user.SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);

    received.clear();
    machine.user.SendMessageA(window, BM_SETSTYLE, BS_PUSHBUTTON, 0);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), std::make_pair(BM_SETSTYLE, static_cast<WPARAM>(BS_OWNERDRAW)));
    LRESULT code = machine.user.SendMessageA(window, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_UNDEFPUSHBUTTON);
    EXPECT_FALSE(code & DLGC_DEFPUSHBUTTON);

    received.clear();
    machine.user.SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, WM_LBUTTONDOWN);

    LRESULT brush = 0;
    EXPECT_TRUE(button.OnReflected(WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(window), brush));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), gdi.GetStockObject(NULL_BRUSH));
}

}  // namespace
