// The recovery journal of a boost on the simulated machine: written as pass 2 goes,
// removed by the undo, and read at the next start after a hard kill.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/MachineTest.h"
#include "process/clsEnhance.h"
#include "restore/BoostRecovery.h"
#include "restore/JournalLine.h"
#include "restore/JournalReader.h"
#include "restore/RestoreJournal.h"
#include "rules/RuleEngine.h"

namespace {

using win::DWORD;

const std::string kJournal = RestoreJournalPath("C:\\Kestrava");
const char kScript[] =
    "[s]\npolicy=priority \"all\" \"low\"\npolicy=cpumask \"all\" \"last\"\n"
    "policy=suspend \"game.exe\" \"on\"\npolicy=hide \"game.exe\" \"on\"";

class BoostJournalTest : public sim::MachineTest {
protected:
    BoostJournalTest() {
        machine.files.AddDirectory("C:\\Kestrava");
        machine.systemInfo.SetActiveProcessorMask(0xF);
    }

    void Boost(RuleEngine& engine) {
        engine.JournalTo(NewJournal());
        engine.Parse(kScript);
        engine.Execute(0);
    }
    // Vornel starts again; the copy that applied the boost ends unless it is to keep running.
    void StartVornelAgain(bool endEarlierCopy = true) {
        const DWORD earlier = machine.processes.CurrentProcess();
        machine.processes.SetCurrentProcess(machine.processes.AddProcess("C:\\Kestrava\\Vornel.exe"));
        if (endEarlierCopy) machine.processes.EndProcess(earlier);
    }
    // A journal of its own for each engine, as each copy of the program has; it outlives the engine.
    BoostJournal* NewJournal() { return &journals.emplace_back(kJournal); }
    ProcessIdentity Identity(DWORD id, const std::string& name) { return {id, ProcessCreationTime(id), name}; }
    // A journal left by a copy of Vornel that is no longer running.
    void WriteJournalOfEndedCopy(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
        const DWORD ended = machine.processes.AddProcess("C:\\Kestrava\\Vornel.exe");
        std::string text = std::string(kJournalVersionLine) + "\r\n" + OwnerLine(Identity(ended, "vornel.exe"));
        machine.processes.EndProcess(ended);
        for (const std::string& line : lines) text += "\r\n" + line;
        machine.files.AddDirectory("C:\\Kestrava\\Restore");
        machine.files.WriteFile(kJournal, text + end);
    }
    void SetPriority(DWORD id, DWORD priorityClass) {
        win::HANDLE process = platform::Processes().OpenProcess(win::PROCESS_SET_INFORMATION, win::FALSE, id);
        platform::Processes().SetPriorityClass(process, priorityClass);
        platform::Handles().CloseHandle(process);
    }
    DWORD SuspendCount(DWORD id) { return machine.processes.SuspendCount(machine.processes.ThreadsOf(id).at(0)); }

    const DWORD game = machine.processes.AddProcess("C:\\Games\\game.exe", 2);
    const DWORD chat = machine.processes.AddProcess("C:\\Chat\\chat.exe");
    const win::HWND gameWindow = machine.user.CreateTopLevelWindow("Game", "game", game, true);
    std::deque<RestoreJournal> journals;
};

TEST_F(BoostJournalTest, HoldsEveryRecordAndWindowOfTheBoostUntilTheUndo) {
    RuleEngine engine;
    Boost(engine);

    JournalContents journal = ReadJournal(kJournal);
    ASSERT_TRUE(journal.ownerKnown);
    EXPECT_EQ(journal.owner.processId, machine.processes.CurrentProcess());
    EXPECT_EQ(journal.owner.name, "vornel.exe");
    EXPECT_NE(journal.owner.creationTime, 0u);
    ASSERT_EQ(journal.records.size(), engine.RestoreRecords().size());
    for (size_t i = 0; i < journal.records.size(); ++i) {
        const RestoreRecord& kept = *engine.RestoreRecords()[i];
        EXPECT_EQ(journal.records[i].record.processId, kept.processId);
        EXPECT_EQ(journal.records[i].record.restoreFlags, kept.restoreFlags);
        EXPECT_EQ(journal.records[i].record.previousPriorityClass, kept.previousPriorityClass);
        EXPECT_EQ(journal.records[i].record.previousAffinityMask, kept.previousAffinityMask);
        EXPECT_EQ(journal.records[i].process.creationTime, ProcessCreationTime(kept.processId));
    }
    EXPECT_EQ(journal.records[1].process.name, "game.exe");
    EXPECT_EQ(journal.records[1].record.restoreFlags, 0x38u);
    ASSERT_EQ(journal.windows.size(), 1u);
    EXPECT_EQ(journal.windows[0].window, gameWindow);
    EXPECT_EQ(journal.windows[0].wasVisible, 1);
    EXPECT_EQ(machine.files.OpenStreams(), 0u);  // nothing waits in a buffer for a later write
    // The game's record goes in before its window is hidden and it is suspended.
    const std::string text = machine.files.Read(kJournal);
    EXPECT_LT(text.find("record " + std::to_string(game) + " "), text.find("window "));

    engine.UndoBoost();
    EXPECT_FALSE(machine.files.Exists(kJournal));
}

TEST_F(BoostJournalTest, ANewStartPutsBackWhatAKilledCopyLeft) {
    RuleEngine killed;  // its undo never runs before the recovery
    Boost(killed);
    ASSERT_EQ(SuspendCount(game), 1u);
    ASSERT_FALSE(machine.user.IsWindowVisible(gameWindow));
    StartVornelAgain();

    EXPECT_TRUE(RecoverInterruptedBoost(kJournal));
    for (DWORD thread : machine.processes.ThreadsOf(game)) EXPECT_EQ(machine.processes.SuspendCount(thread), 0u);
    for (DWORD id : {game, chat}) {
        EXPECT_EQ(machine.processes.PriorityOf(id), win::NORMAL_PRIORITY_CLASS);
        EXPECT_EQ(machine.processes.AffinityOf(id), 0xFu);
    }
    EXPECT_TRUE(machine.user.IsWindowVisible(gameWindow));
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_FALSE(RecoverInterruptedBoost(kJournal));
}

TEST_F(BoostJournalTest, AHiddenWindowComesBackEvenWhenItsProcessHasNoRestoreFlags) {
    RuleEngine killed;
    killed.JournalTo(NewJournal());
    killed.Parse("[s]\npolicy=hide \"game.exe\" \"on\"");
    killed.Execute(0);
    ASSERT_EQ(killed.GetOptimizedProcessCount(), 0);
    ASSERT_FALSE(machine.user.IsWindowVisible(gameWindow));
    StartVornelAgain();

    EXPECT_TRUE(RecoverInterruptedBoost(kJournal));
    EXPECT_TRUE(machine.user.IsWindowVisible(gameWindow));
}

TEST_F(BoostJournalTest, AJournalWhoseOwnerStillRunsIsLeftAlone) {
    RuleEngine running;
    Boost(running);
    const std::string written = machine.files.Read(kJournal);
    StartVornelAgain(false);

    EXPECT_FALSE(RecoverInterruptedBoost(kJournal));
    EXPECT_EQ(SuspendCount(game), 1u);
    EXPECT_EQ(machine.processes.PriorityOf(game), win::IDLE_PRIORITY_CLASS);
    EXPECT_EQ(machine.files.Read(kJournal), written);

    // This copy's own boost leaves the other copy's journal as it is, and so does its undo.
    RuleEngine second;
    Boost(second);
    EXPECT_EQ(machine.files.Read(kJournal), written);
    second.UndoBoost();
    EXPECT_EQ(machine.files.Read(kJournal), written);
}

TEST_F(BoostJournalTest, AReusedProcessIdIsNotTouched) {
    RuleEngine killed;
    Boost(killed);
    StartVornelAgain();
    // The boosted programs end and their ids are reused: by the same program started
    // again and by another one.
    machine.processes.EndProcess(game);
    machine.processes.EndProcess(chat);
    machine.processes.AddProcess("C:\\Games\\game.exe", 1, game);
    machine.processes.AddProcess("C:\\Other\\other.exe", 1, chat);
    for (DWORD id : {game, chat}) {
        clsEnhance().SuspendProcess(id);
        SetPriority(id, win::HIGH_PRIORITY_CLASS);
    }

    EXPECT_FALSE(RecoverInterruptedBoost(kJournal));
    for (DWORD id : {game, chat}) {
        EXPECT_EQ(SuspendCount(id), 1u);
        EXPECT_EQ(machine.processes.PriorityOf(id), win::HIGH_PRIORITY_CLASS);
    }
    EXPECT_FALSE(machine.files.Exists(kJournal));
}

// The 9x family cannot tell a process's start time: the executable name decides.
TEST_F(BoostJournalTest, OnThe9xFamilyTheExecutableNameDecides) {
    machine.systemInfo.UseWindows9x();
    RuleEngine killed;
    killed.JournalTo(NewJournal());
    killed.Parse("[s]\npolicy=priority \"all\" \"low\"");
    killed.Execute(0);
    JournalContents journal = ReadJournal(kJournal);
    ASSERT_EQ(journal.records.size(), 3u);
    EXPECT_EQ(journal.records[1].process.creationTime, 0u);
    StartVornelAgain();
    machine.processes.EndProcess(chat);
    machine.processes.AddProcess("C:\\Other\\other.exe", 1, chat);
    SetPriority(chat, win::HIGH_PRIORITY_CLASS);

    EXPECT_TRUE(RecoverInterruptedBoost(kJournal));
    EXPECT_EQ(machine.processes.PriorityOf(game), win::NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.PriorityOf(chat), win::HIGH_PRIORITY_CLASS);
}

TEST_F(BoostJournalTest, AWindowIsPutBackOnlyWhileItsRecordedProcessOwnsIt) {
    const win::HWND chatWindow = machine.user.CreateTopLevelWindow("Chat", "chat", chat, false);
    const DWORD other = machine.processes.AddProcess("C:\\Other\\other.exe");
    const win::HWND otherWindow = machine.user.CreateTopLevelWindow("Other", "other", other, false);
    machine.user.ShowWindow(gameWindow, win::SW_HIDE);
    // The second entry names the game but the window is the chat program's; the other
    // program's record is missing, so it may still be suspended.
    WriteJournalOfEndedCopy({RecordLine(Identity(game, "game.exe"), RestoreRecord{game, 0x20}),
                             WindowLine(Identity(game, "game.exe"), gameWindow, 1),
                             WindowLine(Identity(game, "game.exe"), chatWindow, 1),
                             WindowLine(Identity(game, "game.exe"), reinterpret_cast<win::HWND>(0x7777), 1),
                             WindowLine(Identity(other, "other.exe"), otherWindow, 1)});

    EXPECT_TRUE(RecoverInterruptedBoost(kJournal));
    EXPECT_TRUE(machine.user.IsWindowVisible(gameWindow));
    EXPECT_FALSE(machine.user.IsWindowVisible(chatWindow));
    EXPECT_FALSE(machine.user.IsWindowVisible(otherWindow));
}

TEST_F(BoostJournalTest, ACutJournalPutsBackItsWholeLinesOnly) {
    for (DWORD id : {game, chat}) clsEnhance().SuspendProcess(id);
    const std::string chatLine = RecordLine(Identity(chat, "chat.exe"), RestoreRecord{chat, 0x20});
    WriteJournalOfEndedCopy({RecordLine(Identity(game, "game.exe"), RestoreRecord{game, 0x28, win::NORMAL_PRIORITY_CLASS}),
                             chatLine.substr(0, chatLine.size() - 1)},
                            "");
    SetPriority(game, win::IDLE_PRIORITY_CLASS);

    EXPECT_TRUE(RecoverInterruptedBoost(kJournal));
    EXPECT_EQ(SuspendCount(game), 0u);
    EXPECT_EQ(machine.processes.PriorityOf(game), win::NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(SuspendCount(chat), 1u);
    EXPECT_FALSE(machine.files.Exists(kJournal));
}

TEST_F(BoostJournalTest, CorruptOrForeignJournalsChangeNothingAndAreRemoved) {
    clsEnhance().SuspendProcess(game);
    const std::string gameLine = RecordLine(Identity(game, "game.exe"), RestoreRecord{game, 0x20});
    std::string changed = gameLine;
    changed[7] = '9';  // another process id under the same check
    const char noise[] = "\x01\xff garbage\n\0\0\0";
    const std::vector<std::string> journals = {
        std::string(noise, sizeof noise - 1),
        "Kestrava boost journal 2\r\n" + gameLine + "\r\n",
        std::string(kJournalVersionLine) + "\r\nowner 1 0000000000000000 vornel.exe #00000000\r\n" + gameLine + "\r\n",
        "",
    };
    for (const std::string& text : journals) {
        machine.files.AddDirectory("C:\\Kestrava\\Restore");
        machine.files.WriteFile(kJournal, text);
        EXPECT_FALSE(RecoverInterruptedBoost(kJournal));
        EXPECT_FALSE(machine.files.Exists(kJournal));
    }
    WriteJournalOfEndedCopy({changed});
    EXPECT_FALSE(RecoverInterruptedBoost(kJournal));
    EXPECT_EQ(SuspendCount(game), 1u);

    // Unreadable: nothing happens and nothing fails.
    WriteJournalOfEndedCopy({gameLine});
    machine.files.DenyAccess(kJournal);
    EXPECT_FALSE(RecoverInterruptedBoost(kJournal));
    EXPECT_EQ(SuspendCount(game), 1u);
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

TEST_F(BoostJournalTest, AnEngineWithoutAPathKeepsNoJournal) {
    RuleEngine engine;
    engine.Parse(kScript);
    engine.Execute(0);
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_FALSE(machine.files.Exists("C:\\Kestrava\\Restore"));
}

}  // namespace
