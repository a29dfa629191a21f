// The process, registry and window behaviour suites on the simulated machine; the
// same checks run on the real system under Wine.
#include <gtest/gtest.h>

#include "platform/ProcessBehaviour.h"
#include "platform/RegistryBehaviour.h"
#include "platform/WindowBehaviour.h"
#include "sim/MachineTest.h"

namespace {
using namespace win;

// A running game with three threads, started after the machine's own process.
class SimBehaviour : public sim::MachineTest {
protected:
    void SetUp() override {
        game = machine.processes.AddProcess("C:\\Games\\game.exe", 3);
        mainThread = machine.processes.ThreadsOf(game).at(0);
    }
    void TearDown() override {
        MachineTest::TearDown();
        EXPECT_FALSE(machine.registry.KeyExists(HKEY_CURRENT_USER, registry_behaviour::kScratch));
    }
    DWORD game = 0;
    DWORD mainThread = 0;
};

TEST_F(SimBehaviour, SuspendCountsStackAndUnwind) {
    process_behaviour::SuspendCountsStackAndUnwind(mainThread);
    EXPECT_EQ(machine.processes.SuspendCount(mainThread), 0u);
}

TEST_F(SimBehaviour, PriorityClassesRoundTrip) { process_behaviour::PriorityClassesRoundTrip(game); }

TEST_F(SimBehaviour, AffinityMasksRoundTrip) { process_behaviour::AffinityMasksRoundTrip(game); }

TEST_F(SimBehaviour, ChildInheritsTheProcessorMask) {
    process_behaviour::ChildInheritsTheProcessorMask(
        [&] { return machine.processes.StartChild(machine.processes.CurrentProcess(), "C:\\Games\\launched.exe"); });
}

TEST_F(SimBehaviour, ProcessTimesGiveTheCreationOrder) { process_behaviour::ProcessTimesGiveTheCreationOrder(game); }

TEST_F(SimBehaviour, SnapshotsListTheProcessAndItsThreads) {
    process_behaviour::SnapshotsListTheProcessAndItsThreads(game, mainThread, "game.exe", 3);
}

TEST_F(SimBehaviour, ValuesKeepTheirTypesAndSizes) { registry_behaviour::ValuesKeepTheirTypesAndSizes(); }

TEST_F(SimBehaviour, MissingAndDeletedValuesAreNotFound) { registry_behaviour::MissingAndDeletedValuesAreNotFound(); }

TEST_F(SimBehaviour, OnlyKeysWithoutSubKeysAreDeleted) { registry_behaviour::OnlyKeysWithoutSubKeysAreDeleted(); }

TEST_F(SimBehaviour, KeySecurityIsReadAndReplaced) { registry_behaviour::KeySecurityIsReadAndReplaced(); }

TEST_F(SimBehaviour, ShowAndHideReportThePreviousVisibility) {
    HWND window = machine.user.CreateTopLevelWindow("game", "Game", game, true);
    window_behaviour::ShowAndHideReportThePreviousVisibility(window);
}

TEST_F(SimBehaviour, EnumeratedWindowsNameTheirOwners) {
    machine.user.AddTaskbar(RECT{0, 740, 1024, 768});
    HWND window = machine.user.CreateTopLevelWindow("game", "Game", game, false);
    window_behaviour::EnumeratedWindowsNameTheirOwners(window, game);
}

TEST_F(SimBehaviour, WindowsOverAWholeMonitorFillIt) {
    window_behaviour::WindowsOverAWholeMonitorFillIt(machine.user.CreateTopLevelWindow("kestrava child", "kestrava child", game, true));
}

TEST_F(SimBehaviour, MinimizedWindowsFillAMonitorByTheirPlacement) {
    window_behaviour::MinimizedWindowsFillAMonitorByTheirPlacement(
        machine.user.CreateTopLevelWindow("Static", "Game", machine.processes.CurrentProcess(), true));
}

TEST_F(SimBehaviour, OrdinaryWindowsAndTheZOrder) {
    const DWORD self = machine.processes.CurrentProcess();
    HWND foreign = machine.user.CreateTopLevelWindow("kestrava child", "kestrava child", game, true);
    HWND ordinary = machine.user.CreateTopLevelWindow("Static", "Ordinary", self, true);
    HWND tool = machine.user.CreateTopLevelWindow("Static", "Tool", self, true);
    machine.user.SetWindowLongPtrA(tool, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    HWND owned = machine.user.CreateTopLevelWindow("Static", "Owned", self, true);
    machine.user.SetOwner(owned, ordinary);
    HWND untitled = machine.user.CreateTopLevelWindow("Static", "", self, true);
    window_behaviour::OrdinaryWindowsAndTheZOrder(ordinary, tool, owned, untitled, foreign);
}

// A handler answering 0 leaves the box up for the test to press its button.
TEST_F(SimBehaviour, MessageBoxesAreDialogsFoundByClass) {
    machine.user.SetMessageBoxHandler([](const sim::MessageBoxRecord&) { return 0; });
    window_behaviour::MessageBoxesAreDialogsFoundByClass();
    ASSERT_EQ(machine.user.MessageBoxes().size(), 1u);
    EXPECT_EQ(machine.user.MessageBoxes()[0].caption, "Kestrava behaviour box");
}

}  // namespace
