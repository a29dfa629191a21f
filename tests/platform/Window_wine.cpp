// The window behaviour the simulated window manager copies, checked on a real child's
// window and on a real message box.
#include "platform/WindowBehaviour.h"
#include "process/WineChild.h"

namespace {

using wine_child::Child;

TEST(WindowBehaviourWine, ShowAndHideReportThePreviousVisibility) {
    Child child;
    ASSERT_TRUE(child.Ready());
    window_behaviour::ShowAndHideReportThePreviousVisibility(child.Window());
}

TEST(WindowBehaviourWine, EnumeratedWindowsNameTheirOwners) {
    Child child("hidden");
    ASSERT_TRUE(child.Ready());
    window_behaviour::EnumeratedWindowsNameTheirOwners(child.Window(), child.Id());
}

TEST(WindowBehaviourWine, WindowsOverAWholeMonitorFillIt) {
    Child child;
    ASSERT_TRUE(child.Ready());
    window_behaviour::WindowsOverAWholeMonitorFillIt(child.Window());
}

TEST(WindowBehaviourWine, MinimizedWindowsFillAMonitorByTheirPlacement) {
    HWND window = CreateWindowExA(0, "STATIC", "Game", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    window_behaviour::MinimizedWindowsFillAMonitorByTheirPlacement(window);
    DestroyWindow(window);
}

TEST(WindowBehaviourWine, OrdinaryWindowsAndTheZOrder) {
    Child child;
    ASSERT_TRUE(child.Ready());
    auto make = [](DWORD exStyle, const char* title, HWND owner) {
        return CreateWindowExA(exStyle, "STATIC", title, WS_POPUP | WS_VISIBLE, 20, 20, 120, 60, owner, nullptr,
                               nullptr, nullptr);
    };
    HWND ordinary = make(0, "Ordinary", nullptr);
    HWND tool = make(WS_EX_TOOLWINDOW, "Tool", nullptr);
    HWND owned = make(0, "Owned", ordinary);
    HWND untitled = make(0, "", nullptr);
    window_behaviour::OrdinaryWindowsAndTheZOrder(ordinary, tool, owned, untitled, child.Window());
    for (HWND window : {owned, untitled, tool, ordinary}) DestroyWindow(window);
}

TEST(WindowBehaviourWine, MessageBoxesAreDialogsFoundByClass) { window_behaviour::MessageBoxesAreDialogsFoundByClass(); }

}  // namespace
