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

TEST(WindowBehaviourWine, MessageBoxesAreDialogsFoundByClass) { window_behaviour::MessageBoxesAreDialogsFoundByClass(); }

}  // namespace
