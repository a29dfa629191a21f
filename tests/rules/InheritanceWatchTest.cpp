// Programs started during a boost: what the throttled processes passed on to them is
// given back once, at the first check that sees them, and only while the boost lasts.
#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "rules/DefaultScript.h"
#include "rules/RuleEngine.h"
#include "sim/Machine.h"

namespace {

using win::DWORD;
constexpr DWORD kIdle = win::IDLE_PRIORITY_CLASS;
constexpr DWORD kNormal = win::NORMAL_PRIORITY_CLASS;
constexpr DWORD kAllProcessors = 0xF;
constexpr DWORD kLastProcessor = 0x8;

class StartedDuringBoost : public ::testing::Test {
protected:
    void Boost(bool suspendUnidentified = false) {
        engine.Parse(ComposeRuleScript(suspendUnidentified));
        engine.Execute(0);
    }
    // What a program does to itself.
    static void SetOwn(DWORD process, DWORD priorityClass, DWORD mask) {
        auto& processes = platform::Processes();
        const platform::ScopedHandle handle(processes.OpenProcess(0x600, win::FALSE, process));
        ASSERT_TRUE(handle);
        ASSERT_TRUE(processes.SetPriorityClass(handle.Get(), priorityClass));
        ASSERT_TRUE(processes.SetProcessAffinityMask(handle.Get(), mask));
    }
    void ExpectState(DWORD process, DWORD priorityClass, DWORD mask) const {
        EXPECT_EQ(machine.processes.PriorityOf(process), priorityClass) << process;
        EXPECT_EQ(machine.processes.AffinityOf(process), mask) << process;
    }

    sim::Machine machine;
    RuleEngine engine;
    const DWORD launcher = machine.processes.AddProcess("C:\\Launcher\\launcher.exe");
};

TEST_F(StartedDuringBoost, GameOfThrottledLauncherGetsNormalClassAndLaunchersMask) {
    Boost();
    const int optimised = engine.GetOptimizedProcessCount();
    ExpectState(launcher, kIdle, kLastProcessor);
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    ExpectState(game, kIdle, kLastProcessor);  // as Windows passes them on

    engine.CheckStartedPrograms();
    ExpectState(game, kNormal, kAllProcessors);
    EXPECT_EQ(engine.GetOptimizedProcessCount(), optimised);

    engine.UndoBoost();
    ExpectState(launcher, kNormal, kAllProcessors);
    ExpectState(game, kNormal, kAllProcessors);
}

TEST_F(StartedDuringBoost, GrandchildStartedBeforeItsParentWasChecked) {
    Boost();
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    // A lower identifier than its parent's, so that the walk meets it first.
    const DWORD helper = machine.processes.StartChild(game, "D:\\Games\\helper.exe", 0x10);
    engine.CheckStartedPrograms();
    ExpectState(game, kNormal, kAllProcessors);
    ExpectState(helper, kNormal, kAllProcessors);
}

TEST_F(StartedDuringBoost, ChildOfUntouchedProcessStaysAsItIs) {
    const DWORD tool = machine.processes.AddProcess("C:\\Tools\\tool.exe");
    machine.processes.DenyProcessAccess(tool, win::PROCESS_SET_INFORMATION);
    Boost();
    machine.processes.DenyProcessAccess(tool, 0);
    SetOwn(tool, kIdle, kLastProcessor);
    const DWORD child = machine.processes.StartChild(tool, "C:\\Tools\\worker.exe");
    // The launcher ends and a new program gets its identifier.
    machine.processes.EndProcess(launcher);
    const DWORD successor = machine.processes.AddProcess("C:\\Tools\\updater.exe", 1, launcher);
    SetOwn(successor, kIdle, kLastProcessor);
    const DWORD successorsChild = machine.processes.StartChild(successor, "C:\\Tools\\patch.exe");
    engine.CheckStartedPrograms();
    ExpectState(child, kIdle, kLastProcessor);
    ExpectState(successor, kIdle, kLastProcessor);
    ExpectState(successorsChild, kIdle, kLastProcessor);
}

TEST_F(StartedDuringBoost, ClassAndMaskSetByTheProgramAfterItWasSeenStay) {
    Boost();
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    engine.CheckStartedPrograms();
    SetOwn(game, kIdle, kLastProcessor);
    engine.CheckStartedPrograms();
    ExpectState(game, kIdle, kLastProcessor);
}

TEST_F(StartedDuringBoost, ChildOfLauncherIdleBeforeTheBoostStaysIdle) {
    SetOwn(launcher, kIdle, 0x3);
    Boost();
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    engine.CheckStartedPrograms();
    ExpectState(game, kIdle, 0x3);
}

// A busy desktop is walked twice a second: a walk opens only new processes that a throttled
// process started, and each once.
TEST_F(StartedDuringBoost, WalkOpensOnlyNewChildrenOfThrottledProcesses) {
    for (int i = 0; i < 40; ++i) machine.processes.AddProcess("C:\\Background\\tool" + std::to_string(i) + ".exe");
    Boost();
    const int opens = machine.processes.ProcessOpens();
    const int snapshots = machine.processes.ProcessSnapshots();
    const int queries = machine.processes.ProcessInformationReads();
    engine.CheckStartedPrograms();
    machine.processes.AddProcess("C:\\Tools\\updater.exe");  // started by no throttled process
    engine.CheckStartedPrograms();
    EXPECT_EQ(machine.processes.ProcessInformationReads(), queries + 2);
    EXPECT_EQ(machine.processes.ProcessSnapshots(), snapshots);
    EXPECT_EQ(machine.processes.ProcessOpens(), opens);

    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    engine.CheckStartedPrograms();
    ExpectState(game, kNormal, kAllProcessors);
    const int checked = machine.processes.ProcessOpens();
    EXPECT_GT(checked, opens);
    engine.CheckStartedPrograms();
    EXPECT_EQ(machine.processes.ProcessOpens(), checked);
}

// A check whose list kept its size reads nothing more, and the fourth check reads the list
// whatever its size: a game that took the identifier of a program ended at the same moment
// leaves the size as it was.
TEST_F(StartedDuringBoost, GameTakingTheIdentifierOfAnEndedProgramIsFoundByTheFourthCheck) {
    const DWORD tool = machine.processes.AddProcess("C:\\Tools\\tool.exe");
    Boost();
    engine.CheckStartedPrograms();
    const int reads = machine.processes.ProcessInformationReads();
    machine.processes.EndProcess(tool);
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe", tool);
    for (int check = 1; check < 4; ++check) engine.CheckStartedPrograms();
    EXPECT_EQ(machine.processes.ProcessInformationReads(), reads);
    engine.CheckStartedPrograms();
    ExpectState(game, kNormal, kAllProcessors);
}

// Without the system's process information (9x has none), the walk
// reads tool-help snapshots and asks the new processes for their start times.
TEST_F(StartedDuringBoost, ToolHelpServesWhereTheSystemsProcessInformationIsMissing) {
    machine.modules.RemoveExport("ntdll.dll", "NtQuerySystemInformation");
    Boost();
    const DWORD grandchild = machine.processes.StartChild(machine.processes.StartChild(launcher, "D:\\Games\\a.exe"),
                                                          "D:\\Games\\b.exe");
    engine.CheckStartedPrograms();
    ExpectState(grandchild, kNormal, kAllProcessors);
}

TEST_F(StartedDuringBoost, NothingChangesAfterTheUndo) {
    Boost();
    const DWORD game = machine.processes.StartChild(launcher, "D:\\Games\\game.exe");
    engine.UndoBoost();
    engine.CheckStartedPrograms();
    ExpectState(game, kIdle, kLastProcessor);
}

// Voice and recording keep pace with the game: trimmed, but at their own class and mask,
// and with the option ticked still running.
TEST(BoostOfVoiceAndRecording, KeepsTheirClassAndMask) {
    for (bool ticked : {false, true}) {
        SCOPED_TRACE(ticked ? "option ticked" : "option clear");
        sim::Machine fresh;
        RuleEngine boostEngine;
        const DWORD voice = fresh.processes.AddProcess("C:\\Discord\\Discord.exe");
        const DWORD recorder = fresh.processes.AddProcess("C:\\OBS\\obs64.exe");
        const DWORD other = fresh.processes.AddProcess("C:\\Tools\\tool.exe");
        boostEngine.Parse(ComposeRuleScript(ticked));
        boostEngine.Execute(0);
        for (DWORD keeper : {voice, recorder}) {
            EXPECT_EQ(fresh.processes.PriorityOf(keeper), kNormal);
            EXPECT_EQ(fresh.processes.AffinityOf(keeper), kAllProcessors);
            EXPECT_EQ(fresh.processes.WorkingSetTrims(keeper), 1);
            EXPECT_EQ(fresh.processes.SuspendCount(fresh.processes.ThreadsOf(keeper).at(0)), 0u);
            for (const auto& record : boostEngine.RestoreRecords()) EXPECT_NE(record->processId, keeper);
        }
        EXPECT_EQ(fresh.processes.PriorityOf(other), kIdle);
        EXPECT_EQ(fresh.processes.SuspendCount(fresh.processes.ThreadsOf(other).at(0)), ticked ? 1u : 0u);
        boostEngine.UndoBoost();
    }
}

}  // namespace
