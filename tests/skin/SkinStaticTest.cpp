#include "skin/SkinStatic.h"

#include <gtest/gtest.h>

#include "sim/MachineTest.h"

namespace {
using namespace win;

constexpr int kFrameIds[] = {148, 149, 150, 151, 152, 153, 154, 147};
constexpr DWORD kFramePixel = 0x00336699;  // 0x00RRGGBB

class SkinStaticTest : public sim::MachineTest {
protected:
    SkinStaticTest() : window(machine.user.CreateTopLevelWindow("Static", "", 0, true)) {}

    // Handles every queued message, paints included.
    void Settle() {
        MSG message;
        for (int i = 0; i < 20 && machine.user.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            machine.user.DispatchMessageA(&message);
        }
    }

    bool PaintPending() {
        MSG message;
        while (machine.user.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (message.message == WM_PAINT && message.hwnd == window) return true;
            machine.user.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
            machine.user.DispatchMessageA(&message);
        }
        return false;
    }

    HWND window;
};

TEST_F(SkinStaticTest, FramesStepInACircle) {
    SkinStatic icon;
    for (int id : kFrameIds) icon.AddFrame(id);
    EXPECT_EQ(icon.FrameCount(), 8);
    EXPECT_EQ(icon.CurrentFrame(), 7);
    icon.NextFrame();
    EXPECT_EQ(icon.CurrentFrame(), 0);
    icon.NextFrame();
    EXPECT_EQ(icon.CurrentFrame(), 1);
}

TEST_F(SkinStaticTest, OutOfRangeIndexesChangeNothingAndDoNotRedraw) {
    SkinStatic icon;
    icon.Attach(window);
    // Frames that failed to load paint nothing, so a paint leaves nothing pending.
    for (int i = 0; i < 8; ++i) icon.AddFrame(999);
    Settle();
    ASSERT_FALSE(PaintPending());
    icon.SetFrame(8);
    icon.SetFrame(-1);
    EXPECT_EQ(icon.CurrentFrame(), 7);
    EXPECT_FALSE(PaintPending());
    icon.SetFrame(3);
    EXPECT_EQ(icon.CurrentFrame(), 3);
    EXPECT_TRUE(PaintPending());
}

TEST_F(SkinStaticTest, TakesTheSizeOfItsFrameOnTheFirstPaint) {
    machine.user.SetBitmapResource(147, 13, 13, std::vector<DWORD>(13 * 13, kFramePixel));
    SkinStatic icon;
    icon.Attach(window);
    icon.AddFrame(147);
    machine.user.SendMessageA(window, WM_PAINT, 0, 0);
    RECT rect{};
    machine.user.GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right - rect.left, 13);
    EXPECT_EQ(rect.bottom - rect.top, 13);

    machine.user.SendMessageA(window, WM_PAINT, 0, 0);
    HDC dc = machine.user.GetDC(window);
    EXPECT_EQ(machine.gdi.GetPixel(dc, 0, 0), RGB(0x33, 0x66, 0x99));
    EXPECT_EQ(machine.gdi.GetPixel(dc, 12, 12), RGB(0x33, 0x66, 0x99));
    machine.user.ReleaseDC(window, dc);
}

TEST_F(SkinStaticTest, AFrameThatFailedToLoadIsKeptAndPaintsNothing) {
    SkinStatic icon;
    icon.Attach(window);
    icon.AddFrame(999);
    EXPECT_EQ(icon.FrameCount(), 1);
    machine.user.SendMessageA(window, WM_PAINT, 0, 0);
    RECT rect{};
    machine.user.GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 200);
}

TEST_F(SkinStaticTest, AnimationTimerStepsOneFramePerTick) {
    SkinStatic icon;
    icon.Attach(window);
    for (int id : kFrameIds) icon.AddFrame(id);
    icon.StartAnimation();
    auto timers = machine.user.Timers(window);
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers.begin()->first, 0u);
    EXPECT_EQ(timers.begin()->second, 100u);
    machine.user.SendMessageA(window, WM_TIMER, 0, 0);
    machine.user.SendMessageA(window, WM_TIMER, 0, 0);
    EXPECT_EQ(icon.CurrentFrame(), 1);
    icon.StopAnimation();
    EXPECT_TRUE(machine.user.Timers(window).empty());
}

TEST_F(SkinStaticTest, FramesAreFreedWithTheWindowOrTheControl) {
    size_t baseline = machine.gdi.LiveObjects();
    {
        SkinStatic icon;
        icon.Attach(window);
        for (int id : kFrameIds) icon.AddFrame(id);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline + 8);
        machine.user.DestroyWindow(window);
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline);
        EXPECT_EQ(icon.FrameCount(), 0);
    }
    {
        SkinStatic unattached;
        unattached.AddFrame(147);
    }
    EXPECT_EQ(machine.gdi.LiveObjects(), baseline);
}

}  // namespace
