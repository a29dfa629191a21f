#include <gtest/gtest.h>

#include <memory>

#include "sim/MachineTest.h"
#include "process/clsEnhance.h"
#include "rules/DefaultScript.h"
#include "rules/RuleEngine.h"

namespace {

constexpr win::DWORD kNormal = win::NORMAL_PRIORITY_CLASS;

class BoostRestore : public sim::MachineTest {
protected:
    void Run(const std::string& script) {
        engine.Parse(script);
        engine.Execute(0);
    }
    win::DWORD SuspendCount(win::DWORD process) const {
        return machine.processes.SuspendCount(machine.processes.ThreadsOf(process).at(0));
    }

    RuleEngine engine;
    const win::DWORD self = machine.processes.CurrentProcess();
};

TEST_F(BoostRestore, UndoPutsEveryProcessAndWindowBack) {
    const win::DWORD explorer = machine.processes.AddProcess("C:\\Windows\\explorer.exe");
    const win::DWORD game = machine.processes.AddProcess("C:\\Games\\game.exe", 2);
    const win::DWORD chat = machine.processes.AddProcess("C:\\Apps\\chat.exe", 3);
    win::HWND shell = machine.user.CreateTopLevelWindow("Shell", "desktop", explorer, true);
    win::HWND main = machine.user.CreateTopLevelWindow("Game", "game", game, true);
    win::HWND hidden = machine.user.CreateTopLevelWindow("Game", "helper", game, false);
    win::HWND own = machine.user.CreateTopLevelWindow("Vornel", "Kestrava", self, true);
    Run(ComposeRuleScript(true));

    ASSERT_EQ(engine.GetOptimizedProcessCount(), 4);
    for (win::DWORD id : {game, chat}) {
        for (win::DWORD thread : machine.processes.ThreadsOf(id)) EXPECT_EQ(machine.processes.SuspendCount(thread), 1u);
    }
    EXPECT_EQ(SuspendCount(explorer), 0u);
    EXPECT_EQ(machine.processes.ThreadSnapshots(), 1);  // one for every suspension
    EXPECT_FALSE(machine.user.IsWindowVisible(main));
    EXPECT_FALSE(machine.user.IsWindowVisible(own));
    EXPECT_TRUE(machine.user.IsWindowVisible(shell));

    engine.UndoBoost();
    for (win::DWORD id : {self, explorer, game, chat}) {
        EXPECT_EQ(machine.processes.PriorityOf(id), kNormal);
        EXPECT_EQ(machine.processes.AffinityOf(id), 0xFu);
        for (win::DWORD thread : machine.processes.ThreadsOf(id)) EXPECT_EQ(machine.processes.SuspendCount(thread), 0u);
    }
    EXPECT_EQ(machine.processes.ThreadSnapshots(), 2);  // and one for every resumption
    EXPECT_TRUE(machine.user.IsWindowVisible(main));
    EXPECT_FALSE(machine.user.IsWindowVisible(hidden));
    EXPECT_TRUE(machine.user.IsWindowVisible(own));
    EXPECT_TRUE(machine.user.IsWindowVisible(shell));
    EXPECT_FALSE(engine.IsBoostApplied());
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 0);
    EXPECT_TRUE(engine.WindowStates().windows.empty());
    EXPECT_TRUE(engine.WindowStates().wasVisible.empty());
}

TEST_F(BoostRestore, UndoRunsOnceAndOnlyAfterABoost) {
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    RestoreRecord record;
    record.processId = game;
    record.restoreFlags = kCommandResume;
    clsEnhance().SuspendProcess(game);
    engine.AddRestoreRecord(record);
    engine.UndoBoost();  // no boost yet
    EXPECT_EQ(SuspendCount(game), 1u);
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 1);

    Run("[s]\npolicy=suspend \"game.exe\" \"on\"");
    EXPECT_EQ(SuspendCount(game), 2u);
    engine.UndoBoost();
    EXPECT_EQ(SuspendCount(game), 0u);  // both records, each resuming once
    clsEnhance().SuspendProcess(game);
    engine.UndoBoost();
    EXPECT_EQ(SuspendCount(game), 1u);
}

TEST_F(BoostRestore, ProcessSuspendedByTheBoostIsResumedOnce) {
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    clsEnhance().SuspendProcess(game);
    Run("[s]\npolicy=suspend \"game.exe\" \"on\"");
    ASSERT_EQ(engine.GetOptimizedProcessCount(), 1);
    EXPECT_EQ(engine.RestoreRecords()[0]->restoreFlags, 0x20u);
    engine.UndoBoost();
    EXPECT_EQ(SuspendCount(game), 1u);
}

TEST_F(BoostRestore, EarlierClassAndMaskComeBackRatherThanTheBoostValues) {
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    win::DWORD previous = 0;
    clsEnhance enhance;
    enhance.RestoreProcessPriority(game, win::HIGH_PRIORITY_CLASS);
    enhance.SetProcessAffinity(game, 0x5, previous);
    Run("[s]\npolicy=priority \"game.exe\" \"high\"\npolicy=cpumask \"game.exe\" \"last\"");
    EXPECT_EQ(machine.processes.PriorityOf(game), win::REALTIME_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x8u);
    engine.UndoBoost();
    EXPECT_EQ(machine.processes.PriorityOf(game), win::HIGH_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x5u);
}

TEST_F(BoostRestore, RecordCommandsRunInTheirFixedOrder) {
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    Run("[s]\npolicy=");
    RestoreRecord record;
    record.processId = game;
    record.restoreFlags = 0x3D;  // priority, affinity, swap out, suspend, resume
    record.previousPriorityClass = win::HIGH_PRIORITY_CLASS;
    record.previousAffinityMask = 0x3;
    engine.AddRestoreRecord(record);
    engine.UndoBoost();
    EXPECT_EQ(machine.processes.PriorityOf(game), win::HIGH_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x3u);
    EXPECT_EQ(machine.processes.WorkingSetTrims(game), 1);
    EXPECT_EQ(SuspendCount(game), 0u);  // suspended, then resumed
}

TEST_F(BoostRestore, UnopenableAndExitedProcessesDoNotStopTheUndo) {
    const win::DWORD locked = machine.processes.AddProcess("C:\\locked.exe");
    const win::DWORD gone = machine.processes.AddProcess("C:\\gone.exe");
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    machine.processes.DenyProcessAccess(locked, 0xFFFFFFFF);
    Run("[s]\npolicy=priority \"all\" \"low\"\npolicy=cpumask \"all\" \"first\"\npolicy=suspend \"gone.exe\" \"on\"");
    ASSERT_EQ(engine.GetOptimizedProcessCount(), 4);
    const RestoreRecord& lockedRecord = *engine.RestoreRecords()[1];
    EXPECT_EQ(lockedRecord.processId, locked);
    EXPECT_EQ(lockedRecord.restoreFlags, 0x18u);
    EXPECT_EQ(lockedRecord.previousPriorityClass, 0u);
    EXPECT_EQ(lockedRecord.previousAffinityMask, 0u);

    machine.processes.DenyProcessAccess(locked, 0);
    clsEnhance().TerminateProcess(gone);
    engine.UndoBoost();
    // Class 0 and mask 0 are refused; the later records are still undone.
    EXPECT_EQ(machine.processes.PriorityOf(locked), kNormal);
    EXPECT_EQ(machine.processes.AffinityOf(locked), 0xFu);
    EXPECT_EQ(machine.processes.PriorityOf(game), kNormal);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0xFu);
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 0);
}

TEST(BoostRestoreEngineLife, DestroyingTheEngineUndoesAnAppliedBoost) {
    sim::Machine machine;
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    auto engine = std::make_unique<RuleEngine>();
    engine->Parse("[s]\npolicy=suspend \"game.exe\" \"on\"\npolicy=priority \"all\" \"low\"");
    engine->Execute(0);
    EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(game)[0]), 1u);
    engine.reset();
    EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(game)[0]), 0u);
    EXPECT_EQ(machine.processes.PriorityOf(game), kNormal);
}

}  // namespace
