#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "sim/MachineTest.h"
#include "process/ProcessorMask.h"
#include "process/ThreadSnapshot.h"
#include "process/clsEnhance.h"

namespace {

using win::DWORD;

constexpr DWORD kAllRights = 0xFFFFFFFF;

using clsEnhanceThreads = sim::MachineTest;

TEST_F(clsEnhanceThreads, SuspendAndResumeChangeEveryThreadOncePerCall) {
    DWORD game = machine.processes.AddProcess("C:\\Games\\game.exe", 3);
    DWORD other = machine.processes.AddProcess("C:\\Windows\\other.exe", 1);
    clsEnhance enhance;

    EXPECT_TRUE(enhance.SuspendProcess(game));
    EXPECT_TRUE(enhance.SuspendProcess(game));
    for (DWORD thread : machine.processes.ThreadsOf(game)) EXPECT_EQ(machine.processes.SuspendCount(thread), 2u);
    EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(other)[0]), 0u);

    EXPECT_TRUE(enhance.ResumeProcess(game));
    for (DWORD thread : machine.processes.ThreadsOf(game)) EXPECT_EQ(machine.processes.SuspendCount(thread), 1u);
}

TEST_F(clsEnhanceThreads, CallsSharingASnapshotLeaveAThreadIdentifierAnotherProcessTookSince) {
    DWORD first = machine.processes.AddProcess("C:\\Apps\\first.exe", 1);
    DWORD second = machine.processes.AddProcess("C:\\Apps\\second.exe", 2);
    DWORD game = machine.processes.AddProcess("C:\\Games\\game.exe", 1);
    const std::vector<DWORD> secondThreads = machine.processes.ThreadsOf(second);
    ThreadSnapshot threads;
    clsEnhance enhance;

    EXPECT_TRUE(enhance.SuspendProcess(first, threads));
    machine.processes.ReuseThreadId(secondThreads[0], game);
    EXPECT_TRUE(enhance.SuspendProcess(second, threads));
    EXPECT_EQ(machine.processes.SuspendCount(secondThreads[0]), 0u);  // now the game's
    EXPECT_EQ(machine.processes.SuspendCount(secondThreads[1]), 1u);
    EXPECT_EQ(machine.processes.ThreadSnapshots(), 1);
}

TEST_F(clsEnhanceThreads, ReachedOnlyWhenSomeThreadCanBeOpened) {
    DWORD locked = machine.processes.AddProcess("locked.exe", 2);
    DWORD partly = machine.processes.AddProcess("partly.exe", 2);
    for (DWORD thread : machine.processes.ThreadsOf(locked)) {
        machine.processes.DenyThreadAccess(thread, win::THREAD_SUSPEND_RESUME);
    }
    std::vector<DWORD> partlyThreads = machine.processes.ThreadsOf(partly);
    machine.processes.DenyThreadAccess(partlyThreads[0], win::THREAD_SUSPEND_RESUME);
    clsEnhance enhance;

    EXPECT_FALSE(enhance.SuspendProcess(locked));
    EXPECT_TRUE(enhance.SuspendProcess(partly));
    EXPECT_EQ(machine.processes.SuspendCount(partlyThreads[0]), 0u);
    EXPECT_EQ(machine.processes.SuspendCount(partlyThreads[1]), 1u);
    EXPECT_FALSE(enhance.ResumeProcess(0x7777));  // no such process

    machine.processes.FailSnapshots(true);
    EXPECT_FALSE(enhance.SuspendProcess(partly));
}

TEST_F(clsEnhanceThreads, OwnProcessIsProtectedFromSuspendResumeAndTerminate) {
    DWORD self = machine.processes.CurrentProcess();
    DWORD mainThread = machine.processes.ThreadsOf(self)[0];
    clsEnhance enhance;
    EXPECT_FALSE(enhance.SuspendProcess(self));
    EXPECT_FALSE(enhance.ResumeProcess(self));
    EXPECT_FALSE(enhance.TerminateProcess(self));
    EXPECT_EQ(machine.processes.SuspendCount(mainThread), 0u);
    EXPECT_TRUE(machine.processes.IsRunning(self));
    // Only those three: the priority of the own process is changed like any other.
    EXPECT_EQ(enhance.SetProcessPriorityToLow(self), win::NORMAL_PRIORITY_CLASS);
}

TEST_F(clsEnhanceThreads, NeedTheThreadOpenerOfTheRunningFamily) {
    DWORD game = machine.processes.AddProcess("game.exe");
    machine.modules.RemoveExport("kernel32.dll", "OpenThread");
    {
        clsEnhance enhance;
        EXPECT_FALSE(enhance.SuspendProcess(game));
        EXPECT_EQ(machine.handles.OpenCount(), 0u);
    }
    // The 9x family opens threads through kernel32's OpenProcess code, which this build does not enter.
    machine.systemInfo.UseWindows9x();
    machine.processes.SetFsDword(0x30, 0x81550000);
    clsEnhance enhance;
    EXPECT_EQ(enhance.ProcessIdObfuscator, machine.processes.CurrentProcess() ^ 0x81550000);
    EXPECT_EQ(enhance.OpenThreadLegacy(win::THREAD_SUSPEND_RESUME, win::FALSE, machine.processes.ThreadsOf(game)[0]),
              nullptr);
    EXPECT_FALSE(enhance.SuspendProcess(game));
    EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(game)[0]), 0u);
}

using clsEnhancePriority = sim::MachineTest;

TEST_F(clsEnhancePriority, LowIsIdleHighIsRealTimeAndPreviousClassComesBack) {
    DWORD game = machine.processes.AddProcess("game.exe");
    DWORD locked = machine.processes.AddProcess("locked.exe");
    machine.processes.DenyProcessAccess(locked, win::PROCESS_SET_INFORMATION);
    clsEnhance enhance;

    EXPECT_EQ(enhance.SetProcessPriorityToHigh(game), win::NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.PriorityOf(game), win::REALTIME_PRIORITY_CLASS);
    EXPECT_EQ(enhance.SetProcessPriorityToLow(game), win::REALTIME_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.PriorityOf(game), win::IDLE_PRIORITY_CLASS);
    EXPECT_TRUE(enhance.RestoreProcessPriority(game, win::NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(machine.processes.PriorityOf(game), win::NORMAL_PRIORITY_CLASS);
    EXPECT_FALSE(enhance.RestoreProcessPriority(game, 0));  // the system refuses class 0

    EXPECT_EQ(enhance.SetProcessPriorityToHigh(locked), 0u);
    EXPECT_EQ(enhance.SetProcessPriorityToLow(locked), 0u);
    EXPECT_FALSE(enhance.RestoreProcessPriority(locked, win::NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(machine.processes.PriorityOf(locked), win::NORMAL_PRIORITY_CLASS);
}

using clsEnhanceAffinity = sim::MachineTest;

TEST_F(clsEnhanceAffinity, ReportsThePreviousMaskAndPassesTheNewOneUnchanged) {
    machine.systemInfo.SetActiveProcessorMask(0xF);
    DWORD game = machine.processes.AddProcess("game.exe");
    DWORD blind = machine.processes.AddProcess("blind.exe");
    DWORD locked = machine.processes.AddProcess("locked.exe");
    machine.processes.FailAffinityQuery(blind, true);
    machine.processes.DenyProcessAccess(locked, kAllRights);
    clsEnhance enhance;

    DWORD previous = 0xAA;
    EXPECT_TRUE(enhance.SetProcessAffinity(game, 0x8, previous));
    EXPECT_EQ(previous, 0xFu);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x8u);
    EXPECT_FALSE(enhance.SetProcessAffinity(game, 0, previous));  // refused by the system
    EXPECT_EQ(previous, 0x8u);
    EXPECT_FALSE(enhance.SetProcessAffinity(game, 0x10, previous));  // no fifth processor
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x8u);

    previous = 0xAA;
    EXPECT_TRUE(enhance.SetProcessAffinity(blind, 0x1, previous));
    EXPECT_EQ(previous, 0u);  // a failed query reports 0
    EXPECT_EQ(machine.processes.AffinityOf(blind), 0x1u);

    previous = 0xAA;
    EXPECT_FALSE(enhance.SetProcessAffinity(locked, 0x1, previous));
    EXPECT_EQ(previous, 0xAAu);  // not written when the process cannot be opened
}

using clsEnhanceMemory = sim::MachineTest;

TEST_F(clsEnhanceMemory, SwapoutTrimsTheWholeWorkingSetOnBothFamilies) {
    DWORD game = machine.processes.AddProcess("game.exe");
    DWORD locked = machine.processes.AddProcess("locked.exe");
    machine.processes.DenyProcessAccess(locked, win::PROCESS_SET_QUOTA);
    clsEnhance enhance;

    EXPECT_TRUE(enhance.SwapoutProcessMemory(game));
    EXPECT_FALSE(enhance.SwapoutProcessMemory(locked));
    machine.systemInfo.UseWindows9x();
    EXPECT_TRUE(enhance.SwapoutProcessMemory(game));
    EXPECT_EQ(machine.processes.WorkingSetTrims(game), 2);

    machine.modules.RemoveExport("kernel32.dll", "SetProcessWorkingSetSize");
    EXPECT_FALSE(enhance.SwapoutProcessMemory(game));
    EXPECT_EQ(machine.processes.WorkingSetTrims(game), 2);
}

using clsEnhanceTerminate = sim::MachineTest;

TEST_F(clsEnhanceTerminate, EndsOtherProcessesWithExitCodeZero) {
    DWORD game = machine.processes.AddProcess("game.exe");
    DWORD locked = machine.processes.AddProcess("locked.exe");
    machine.processes.DenyProcessAccess(locked, win::PROCESS_TERMINATE);
    clsEnhance enhance;

    EXPECT_TRUE(enhance.TerminateProcess(game));
    EXPECT_FALSE(machine.processes.IsRunning(game));
    EXPECT_EQ(machine.processes.ExitCode(game), 0u);
    EXPECT_FALSE(enhance.TerminateProcess(game));  // already gone
    EXPECT_FALSE(enhance.TerminateProcess(locked));
    EXPECT_TRUE(machine.processes.IsRunning(locked));
}

TEST(clsEnhanceWindows, HideAndShowRecordEveryTopLevelWindowOfTheProcess) {
    sim::Machine machine;
    DWORD game = machine.processes.AddProcess("game.exe");
    DWORD other = machine.processes.AddProcess("other.exe");
    win::HWND first = machine.user.CreateTopLevelWindow("GameMain", "Game", game, true);
    win::HWND foreign = machine.user.CreateTopLevelWindow("Other", "Other", other, true);
    win::HWND hidden = machine.user.CreateTopLevelWindow("GameTool", "Tool", game, false);
    win::HWND second = machine.user.CreateTopLevelWindow("GameChat", "Chat", game, true);
    auto& user = platform::User();
    clsEnhance enhance;
    WindowStateList states;

    // In Z-order: the newest window on top.
    EXPECT_TRUE(enhance.HideProcessWindow(game, states));
    EXPECT_EQ(states.windows, (std::vector<win::HWND>{second, hidden, first}));
    EXPECT_EQ(states.wasVisible, (std::vector<win::WORD>{1, 0, 1}));
    EXPECT_FALSE(user.IsWindowVisible(first));
    EXPECT_FALSE(user.IsWindowVisible(hidden));
    EXPECT_FALSE(user.IsWindowVisible(second));
    EXPECT_TRUE(user.IsWindowVisible(foreign));

    // Showing appends its own entries, one per window, and shows the hidden one too.
    EXPECT_TRUE(enhance.ShowProcessWindow(game, states));
    EXPECT_EQ(states.windows.size(), 6u);
    EXPECT_EQ(states.wasVisible, (std::vector<win::WORD>{1, 0, 1, 0, 0, 0}));
    EXPECT_TRUE(user.IsWindowVisible(hidden));
}

TEST(clsEnhanceWindows, CallsSharingASnapshotEnumerateOnceAndLeaveAHandleAnotherProcessTookSince) {
    sim::Machine machine;
    DWORD chat = machine.processes.AddProcess("chat.exe");
    DWORD tool = machine.processes.AddProcess("tool.exe");
    DWORD game = machine.processes.AddProcess("game.exe");
    win::HWND chatWindow = machine.user.CreateTopLevelWindow("Chat", "Chat", chat, true);
    win::HWND toolWindow = machine.user.CreateTopLevelWindow("Tool", "Tool", tool, true);
    win::HWND toolPanel = machine.user.CreateTopLevelWindow("Tool", "Panel", tool, true);
    auto& user = platform::User();
    WindowSnapshot windows;
    WindowStateList states;
    clsEnhance enhance;

    EXPECT_TRUE(enhance.HideProcessWindow(chat, states, windows));
    machine.user.HandOver(toolPanel, game);
    EXPECT_TRUE(enhance.HideProcessWindow(tool, states, windows));
    EXPECT_EQ(states.windows, (std::vector<win::HWND>{chatWindow, toolWindow}));
    EXPECT_FALSE(user.IsWindowVisible(toolWindow));
    EXPECT_TRUE(user.IsWindowVisible(toolPanel));  // now the game's
    EXPECT_EQ(machine.user.Enumerations(), 1);
}

TEST(ProcessorMask, CountsTheUnbrokenRunFromTheFirstProcessor) {
    const std::pair<win::DWORD_PTR, DWORD> cases[] = {
        {0xF, 4}, {0xFFFFFFFF, 32}, {0xD, 1}, {0xB, 2}, {0x0, 0}, {0x2, 0},
    };
    for (const auto& [mask, count] : cases) {
        SCOPED_TRACE(mask);
        sim::Machine machine;
        machine.systemInfo.SetActiveProcessorMask(mask);
        EXPECT_EQ(GetActiveProcessorMask(), static_cast<DWORD>(mask));
        EXPECT_EQ(GetActiveProcessorCount(), count);
    }
}

}  // namespace
