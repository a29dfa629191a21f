// A crash of Vornel during a boost undoes the boost before the program ends.
#include <gtest/gtest.h>

#include "app/CrashUndo.h"
#include "sim/Machine.h"
#include "restore/RestoreJournal.h"

namespace {

using win::DWORD;

int earlierFilterCalls = 0;
win::LONG KAPI EarlierFilter(win::EXCEPTION_POINTERS*) {
    ++earlierFilterCalls;
    return 1;  // EXCEPTION_EXECUTE_HANDLER
}

class CrashUndoTest : public ::testing::Test {
protected:
    CrashUndoTest() {
        machine.files.AddDirectory("C:\\Kestrava");
        earlierFilterCalls = 0;
        engine.JournalTo(&journalFile);
        engine.Parse("[s]\npolicy=suspend \"game.exe\" \"on\"");
    }
    DWORD SuspendCount() { return machine.processes.SuspendCount(machine.processes.ThreadsOf(game).at(0)); }

    sim::Machine machine;
    const DWORD game = machine.processes.AddProcess("C:\\Games\\game.exe");
    const std::string journal = RestoreJournalPath("C:\\Kestrava");
    RestoreJournal journalFile{journal};
    RuleEngine engine;
};

TEST_F(CrashUndoTest, ACrashUndoesTheBoostOnceThenGoesOnToTheEarlierFilter) {
    machine.processes.SetUnhandledExceptionFilter(&EarlierFilter);
    {
        CrashUndo guard(engine);
        engine.Execute(0);
        ASSERT_EQ(SuspendCount(), 1u);

        EXPECT_EQ(machine.processes.RaiseUnhandledException(win::EXCEPTION_ACCESS_VIOLATION), 1);
        EXPECT_EQ(SuspendCount(), 0u);
        EXPECT_FALSE(machine.files.Exists(journal));
        EXPECT_EQ(earlierFilterCalls, 1);

        // A crash inside the undo does not start it again.
        engine.Execute(0);
        EXPECT_EQ(machine.processes.RaiseUnhandledException(win::EXCEPTION_ACCESS_VIOLATION), 1);
        EXPECT_EQ(SuspendCount(), 1u);
        EXPECT_EQ(earlierFilterCalls, 2);
    }
    EXPECT_EQ(machine.processes.SetUnhandledExceptionFilter(nullptr), &EarlierFilter);
    engine.UndoBoost();
}

TEST_F(CrashUndoTest, AStackOverflowLeavesTheUndoToTheNextStart) {
    CrashUndo guard(engine);
    engine.Execute(0);
    EXPECT_EQ(machine.processes.RaiseUnhandledException(win::EXCEPTION_STACK_OVERFLOW), win::EXCEPTION_CONTINUE_SEARCH);
    EXPECT_EQ(SuspendCount(), 1u);
    EXPECT_TRUE(machine.files.Exists(journal));
    engine.UndoBoost();
}

}  // namespace
