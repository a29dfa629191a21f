// The game being played when the boost is pressed gets none of its actions: the
// processes that fill a monitor (a), that of the window used just before (b), and
// the processes they started (c).
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "rules/DefaultScript.h"
#include "rules/RuleEngine.h"
#include "sim/MachineTest.h"

namespace {

using win::DWORD;
using win::HWND;
using win::RECT;
constexpr RECT kScreen{0, 0, 1024, 768};

class GameSparing : public sim::MachineTest {
protected:
    void Boost(bool suspendUnidentified = false) {
        engine.Parse(ComposeRuleScript(suspendUnidentified));
        engine.Execute(0);
    }
    HWND WindowOf(DWORD process, const RECT& rect, const std::string& title = "Game") {
        HWND window = machine.user.CreateTopLevelWindow("GameWindow", title, process, true);
        machine.user.SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, win::SWP_NOZORDER);
        return window;
    }
    bool HasRecord(DWORD process) const {
        for (const auto& record : engine.RestoreRecords()) {
            if (record->processId == process) return true;
        }
        return false;
    }
    void ExpectUntouched(DWORD process) const {
        EXPECT_EQ(machine.processes.PriorityOf(process), win::NORMAL_PRIORITY_CLASS) << process;
        EXPECT_EQ(machine.processes.AffinityOf(process), 0xFu) << process;
        EXPECT_EQ(machine.processes.WorkingSetTrims(process), 0) << process;
        EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(process).at(0)), 0u) << process;
        EXPECT_FALSE(HasRecord(process)) << process;
    }
    void ExpectThrottled(DWORD process) const {
        EXPECT_EQ(machine.processes.PriorityOf(process), win::IDLE_PRIORITY_CLASS) << process;
        EXPECT_EQ(machine.processes.AffinityOf(process), 0x8u) << process;
        EXPECT_TRUE(HasRecord(process)) << process;
    }
    std::vector<std::pair<DWORD, char>> Spared() const {
        std::vector<std::pair<DWORD, char>> spared;
        for (const SparedProcess& process : engine.SparedProcesses()) spared.push_back({process.processId, process.reason});
        return spared;
    }
    std::string Log() const { return machine.files.Read("c:\\debuglog.txt"); }

    RuleEngine engine;
    const DWORD background = machine.processes.AddProcess("C:\\Tools\\busy.exe");
};

TEST_F(GameSparing, FullScreenBorderlessAndMinimizedExclusiveGamesAreSpared) {
    machine.user.SetMonitors({kScreen, RECT{1024, 0, 2944, 1080}});
    const DWORD fullScreen = machine.processes.AddProcess("D:\\Games\\fullscreen.exe");
    const DWORD borderless = machine.processes.AddProcess("D:\\Games\\borderless.exe");
    const DWORD minimized = machine.processes.AddProcess("D:\\Games\\exclusive.exe");
    const DWORD windowed = machine.processes.AddProcess("C:\\Tools\\notepad.exe");
    WindowOf(fullScreen, kScreen);
    WindowOf(borderless, RECT{1024, 0, 2944, 1080});
    machine.user.ShowWindow(WindowOf(minimized, RECT{-8, -8, 1032, 776}), win::SW_MINIMIZE);
    WindowOf(windowed, RECT{0, 0, 1024, 700});

    Boost();  // in Z-order, the newest window on top
    EXPECT_EQ(Spared(), (std::vector<std::pair<DWORD, char>>{{minimized, 'a'}, {borderless, 'a'}, {fullScreen, 'a'}}));
    for (DWORD game : {fullScreen, borderless, minimized}) ExpectUntouched(game);
    ExpectThrottled(windowed);
    ExpectThrottled(background);
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 3);  // vornel.exe, busy.exe, notepad.exe
    EXPECT_NE(Log().find("SpareGameProcess(a):exclusive.exe"), std::string::npos);
    EXPECT_EQ(engine.SparedProcesses()[2].name, "fullscreen.exe");
    EXPECT_NE(engine.SparedProcesses()[2].creationTime, 0u);
}

TEST_F(GameSparing, WithoutTheMonitorFunctionsTheScreenDecides) {
    machine.modules.RemoveExport("user32.dll", "MonitorFromRect");
    machine.user.SetMonitors({kScreen, RECT{1024, 0, 2944, 1080}});
    const DWORD fullScreen = machine.processes.AddProcess("D:\\Games\\fullscreen.exe");
    const DWORD secondMonitor = machine.processes.AddProcess("D:\\Games\\borderless.exe");
    WindowOf(fullScreen, kScreen);
    WindowOf(secondMonitor, RECT{1024, 0, 2944, 1080});

    Boost();
    EXPECT_EQ(Spared(), (std::vector<std::pair<DWORD, char>>{{fullScreen, 'a'}}));
    ExpectThrottled(secondMonitor);
}

TEST_F(GameSparing, WindowUsedJustBeforeIsSparedOnceByTheNextExecution) {
    const DWORD game = machine.processes.AddProcess("D:\\Games\\windowed.exe");
    engine.SetPlayerWindow(WindowOf(game, RECT{100, 100, 900, 700}));
    Boost();
    EXPECT_EQ(Spared(), (std::vector<std::pair<DWORD, char>>{{game, 'b'}}));
    ExpectUntouched(game);
    EXPECT_NE(Log().find("SpareGameProcess(b):windowed.exe"), std::string::npos);
    engine.UndoBoost();

    Boost();
    EXPECT_TRUE(engine.SparedProcesses().empty());
    ExpectThrottled(game);
}

TEST_F(GameSparing, VanishedWindowSparesNothingAndTheBoostGoesOn) {
    const DWORD game = machine.processes.AddProcess("D:\\Games\\windowed.exe");
    HWND window = WindowOf(game, kScreen);
    engine.SetPlayerWindow(window);
    machine.user.DestroyWindow(window);
    Boost();
    EXPECT_TRUE(engine.SparedProcesses().empty());
    ExpectThrottled(game);
}

TEST_F(GameSparing, TheShellThisProgramAndProtectedNamesAreNeverSpared) {
    const DWORD explorer = machine.processes.AddProcess("C:\\Windows\\explorer.exe");
    const DWORD shell = machine.processes.AddProcess("C:\\Shell\\othershell.exe");
    const DWORD steam = machine.processes.AddProcess("C:\\Steam\\Steam.exe");
    const DWORD self = machine.processes.CurrentProcess();
    HWND desktop = machine.user.CreateTopLevelWindow("Progman", "Program Manager", explorer, true);
    machine.user.SetWindowPos(desktop, nullptr, 0, 0, 1024, 768, win::SWP_NOZORDER);
    WindowOf(explorer, kScreen, "");
    machine.user.SetWindowPos(machine.user.CreateTopLevelWindow("WorkerW", "", shell, true), nullptr, 0, 0, 1024,
                              768, win::SWP_NOZORDER);
    WindowOf(steam, kScreen);
    WindowOf(self, kScreen, "Kestrava");
    engine.SetPlayerWindow(desktop);

    Boost();
    EXPECT_TRUE(engine.SparedProcesses().empty());
    for (DWORD process : {explorer, shell, steam, self}) ExpectThrottled(process);
}

TEST_F(GameSparing, ProgramsTheGameStartedAreSparedButNotItsLauncher) {
    const DWORD launcher = machine.processes.AddProcess("C:\\Launcher\\launcher.exe");
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    const DWORD helper = machine.processes.StartChild(game, "D:\\Games\\crashhandler.exe");
    const DWORD helpersChild = machine.processes.StartChild(helper, "D:\\Games\\uploader.exe");
    WindowOf(game, kScreen);

    Boost();
    EXPECT_EQ(Spared(), (std::vector<std::pair<DWORD, char>>{{game, 'a'}, {helper, 'c'}, {helpersChild, 'c'}}));
    for (DWORD process : {game, helper, helpersChild}) ExpectUntouched(process);
    ExpectThrottled(launcher);
    EXPECT_NE(Log().find("SpareGameProcess(c):uploader.exe"), std::string::npos);
}

TEST_F(GameSparing, ProcessesHandedOverAreSparedWithTheirChildren) {
    const DWORD game = machine.processes.AddProcess("D:\\Games\\game.exe");
    const DWORD child = machine.processes.StartChild(game, "D:\\Games\\helper.exe");
    engine.SpareAlso({game, 0x7777});
    Boost();
    EXPECT_EQ(Spared(), (std::vector<std::pair<DWORD, char>>{{game, 'a'}, {child, 'c'}}));
    ExpectUntouched(game);
    engine.UndoBoost();
    Boost();
    ExpectThrottled(game);
}

TEST_F(GameSparing, WithTheOptionTickedTheGameIsNeitherSuspendedNorHidden) {
    const DWORD game = machine.processes.AddProcess("D:\\Games\\game.exe");
    HWND gameWindow = WindowOf(game, kScreen);
    HWND otherWindow = WindowOf(background, RECT{10, 10, 200, 200}, "Busy");

    Boost(true);
    ExpectUntouched(game);
    EXPECT_TRUE(platform::User().IsWindowVisible(gameWindow));
    for (HWND window : engine.WindowStates().windows) EXPECT_NE(window, gameWindow);
    EXPECT_FALSE(platform::User().IsWindowVisible(otherWindow));
    EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(background).at(0)), 1u);

    engine.UndoBoost();
    ExpectUntouched(game);
    EXPECT_TRUE(platform::User().IsWindowVisible(gameWindow));
    EXPECT_TRUE(platform::User().IsWindowVisible(otherWindow));
}

}  // namespace
