// Which windows tell the game: those that fill a monitor and the ordinary window the
// player used beneath this program's own.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "process/GameWindows.h"
#include "sim/Machine.h"

namespace {

using win::HWND;
using win::RECT;

class GameWindows : public ::testing::Test {
protected:
    HWND WindowOf(win::DWORD process, const RECT& rect, const std::string& title = "Window") {
        HWND window = machine.user.CreateTopLevelWindow("Window", title, process, true);
        machine.user.SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, win::SWP_NOZORDER);
        return window;
    }

    sim::Machine machine;
    const win::DWORD self = machine.processes.CurrentProcess();
    const win::DWORD game = machine.processes.AddProcess("game.exe");
    const win::DWORD other = machine.processes.AddProcess("other.exe");
};

TEST_F(GameWindows, OnlyAVisibleWindowOverAWholeMonitorFillsIt) {
    machine.user.SetMonitors({RECT{0, 0, 1024, 768}, RECT{1024, 0, 2048, 768}});
    EXPECT_TRUE(FillsAMonitor(WindowOf(game, RECT{0, 0, 1024, 768})));
    EXPECT_TRUE(FillsAMonitor(WindowOf(game, RECT{1016, -8, 2056, 776})));
    EXPECT_FALSE(FillsAMonitor(WindowOf(game, RECT{0, 0, 1024, 740})));
    EXPECT_FALSE(FillsAMonitor(WindowOf(game, RECT{512, 0, 1536, 768})));
    EXPECT_FALSE(FillsAMonitor(WindowOf(game, RECT{3000, 0, 4024, 768})));
    HWND hidden = WindowOf(game, RECT{0, 0, 1024, 768});
    machine.user.ShowWindow(hidden, win::SW_HIDE);
    EXPECT_FALSE(FillsAMonitor(hidden));
    HWND gone = WindowOf(game, RECT{0, 0, 1024, 768});
    machine.user.DestroyWindow(gone);
    EXPECT_FALSE(FillsAMonitor(gone));
}

TEST_F(GameWindows, AMinimizedWindowFillsAMonitorByItsRestoredPlacement) {
    HWND exclusive = WindowOf(game, RECT{0, 0, 1024, 768});
    HWND small = WindowOf(game, RECT{0, 0, 800, 600});
    for (HWND window : {exclusive, small}) machine.user.ShowWindow(window, win::SW_MINIMIZE);
    EXPECT_TRUE(FillsAMonitor(exclusive));
    EXPECT_FALSE(FillsAMonitor(small));
}

TEST_F(GameWindows, WithoutTheMonitorFunctionsTheScreenSizeCounts) {
    machine.modules.RemoveExport("user32.dll", "GetMonitorInfoA");
    machine.user.SetDesktopSize(1280, 1024);
    EXPECT_TRUE(FillsAMonitor(WindowOf(game, RECT{0, 0, 1280, 1024})));
    EXPECT_FALSE(FillsAMonitor(WindowOf(game, RECT{0, 0, 1024, 768})));
}

TEST_F(GameWindows, OrdinaryWindowsAreVisibleTitledUnownedAndNoToolWindows) {
    HWND ordinary = WindowOf(game, RECT{0, 0, 100, 100});
    EXPECT_TRUE(IsOrdinaryWindow(ordinary));
    HWND tool = WindowOf(game, RECT{0, 0, 100, 100});
    platform::User().SetWindowLongPtrA(tool, win::GWL_EXSTYLE, win::WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsOrdinaryWindow(tool));
    HWND owned = WindowOf(game, RECT{0, 0, 100, 100});
    machine.user.SetOwner(owned, ordinary);
    EXPECT_FALSE(IsOrdinaryWindow(owned));
    EXPECT_FALSE(IsOrdinaryWindow(WindowOf(game, RECT{0, 0, 100, 100}, "")));
    machine.user.ShowWindow(ordinary, win::SW_HIDE);
    EXPECT_FALSE(IsOrdinaryWindow(ordinary));
}

// Z-order, top first: what was created last, or brought to the top.
TEST_F(GameWindows, ThePlayersWindowIsTheFirstOrdinaryOneBeneathThisProgramsOwn) {
    HWND played = WindowOf(game, RECT{0, 0, 800, 600}, "Game");
    HWND owned = WindowOf(other, RECT{0, 0, 100, 100}, "Owned");
    machine.user.SetOwner(owned, played);
    HWND tool = WindowOf(other, RECT{0, 0, 100, 100}, "Tool");
    platform::User().SetWindowLongPtrA(tool, win::GWL_EXSTYLE, win::WS_EX_TOOLWINDOW);
    WindowOf(self, RECT{0, 0, 100, 100}, "Own tip");
    HWND own = WindowOf(self, RECT{0, 0, 500, 367}, "Kestrava");
    WindowOf(other, RECT{0, 0, 100, 100}, "Always on top");
    EXPECT_EQ(OrdinaryWindowBeneath(own), played);

    platform::User().SetWindowPos(played, win::HWND_TOP, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
    EXPECT_EQ(OrdinaryWindowBeneath(own), nullptr);
    platform::User().SetWindowPos(own, win::HWND_TOP, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
    EXPECT_EQ(OrdinaryWindowBeneath(own), played);
}

}  // namespace
