// Waiting for a game walks the process list every 2 s for hours: a walk that meets no new
// process reads the list alone, and names are read once a new process shows.
#include <gtest/gtest.h>

#include "app/GameWaiter.h"
#include "platform/Platform.h"
#include "sim/MachineTest.h"

namespace {

using namespace win;

using GameWaiterTest = sim::MachineTest;

TEST_F(GameWaiterTest, NamesAreReadOnlyWhenAWalkMeetsANewProcess) {
    machine.user.SetDesktopSize(1024, 768);
    for (int i = 0; i < 20; ++i) machine.processes.AddProcess("C:\\Background\\tool" + std::to_string(i) + ".exe");
    GameWaiter waiter;
    waiter.Begin();
    std::vector<ProcessLineage> processes;
    const int snapshots = machine.processes.ProcessSnapshots();
    for (int walk = 0; walk < 3; ++walk) {
        ASSERT_TRUE(ListProcessLineage(processes));
        EXPECT_TRUE(waiter.Poll(processes).empty());
    }
    EXPECT_EQ(machine.processes.ProcessSnapshots(), snapshots);

    const DWORD game = machine.processes.AddProcess("D:\\Games\\Game.exe");
    HWND window = machine.user.CreateTopLevelWindow("Game", "game", game, true);
    machine.user.SetWindowPos(window, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
    ASSERT_TRUE(ListProcessLineage(processes));
    const std::vector<GameProcess> games = waiter.Poll(processes);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].processId, game);
    EXPECT_EQ(games[0].name, "game.exe");
    EXPECT_EQ(machine.processes.ProcessSnapshots(), snapshots + 1);

    // The followed game's start time comes from the list too: a walk opens no process.
    const int opens = machine.processes.ProcessOpens();
    ASSERT_TRUE(ListProcessLineage(processes));
    EXPECT_TRUE(waiter.Poll(processes).empty());
    EXPECT_TRUE(waiter.Following());
    EXPECT_EQ(machine.processes.ProcessOpens(), opens);
}

// On 9x the list has no start times: a game that got the id of an ended program with the
// same parent is told apart by its name.
TEST_F(GameWaiterTest, OnNineXAGameWithTheIdOfAnEndedProgramIsNew) {
    machine.systemInfo.UseWindows9x();
    machine.user.SetDesktopSize(640, 480);
    const DWORD tool = machine.processes.AddProcess("C:\\TOOLS\\TOOL.EXE");
    GameWaiter waiter;
    waiter.Begin();
    machine.processes.EndProcess(tool);
    const DWORD game = machine.processes.AddProcess("C:\\GAMES\\GAME.EXE", 1, tool);
    HWND window = machine.user.CreateTopLevelWindow("Game", "game", game, true);
    machine.user.SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOZORDER);
    std::vector<ProcessLineage> processes;
    ASSERT_TRUE(ListProcessLineage(processes));
    const std::vector<GameProcess> games = waiter.Poll(processes);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].name, "game.exe");
}

}  // namespace
