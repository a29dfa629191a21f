#include <gtest/gtest.h>

#include <string>

#include "drainex/DrainexArguments.h"
#include "drainex/DrainexRun.h"
#include "drainex/ReleaseReceiver.h"
#include "sim/MachineTest.h"

namespace {

constexpr uint64_t kMiB = 1048576;

class DrainexRunTest : public sim::MachineTest {
protected:
    DrainexRunTest() { machine.memory.SetStatus(8 * kMiB, 4 * kMiB, 50); }
    std::string Arguments(const char* mode) const {
        return std::string(mode) + " " + std::to_string(reinterpret_cast<intptr_t>(receiver.window));
    }

    ReleaseReceiver receiver{machine};
};

TEST_F(DrainexRunTest, RefusedArgumentsSendAndClaimNothing) {
    const std::string overlong = Arguments("2") + std::string(kMaxArgumentText, ' ');
    for (const std::string& text : {std::string("2 0"), std::string("2"), std::string(""), std::string("x y"), overlong}) {
        EXPECT_EQ(RunDrainex(text.c_str()), 0) << text;
    }
    EXPECT_TRUE(receiver.reports.empty());
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
    EXPECT_FALSE(machine.sync.Exists(kDrainexMutexName));
}

TEST_F(DrainexRunTest, ModeWithoutDigitsClaimsAQuarter) {
    EXPECT_EQ(RunDrainex(Arguments("abc").c_str()), 0);
    ASSERT_TRUE(receiver.Ended());
    EXPECT_EQ(receiver.reports[1].value, 4);  // 2048 blocks
    EXPECT_EQ(receiver.Positions(), (std::vector<win::LPARAM>{0, 1, 2, 3}));
}

TEST_F(DrainexRunTest, RunsOnlyWhileNoOtherInstanceHoldsTheName) {
    win::HANDLE other = machine.sync.CreateMutexA(nullptr, win::TRUE, kDrainexMutexName);
    EXPECT_EQ(RunDrainex(Arguments("2").c_str()), 0);
    EXPECT_TRUE(receiver.reports.empty());
    machine.handles.CloseHandle(other);

    EXPECT_EQ(RunDrainex(Arguments("2").c_str()), 0);
    EXPECT_TRUE(receiver.Ended());
}

// The first instance runs as a program and is held inside its first progress report
// while a second one starts.
TEST_F(DrainexRunTest, SecondInstanceDuringTheFirstOnesPassesSendsNothing) {
    machine.programs.Install("Drainex.exe", [](const sim::Launch& launch) {
        return static_cast<win::DWORD>(RunDrainex(launch.arguments.c_str()));
    });
    int secondExit = -1;
    size_t reportsBeforeSecond = 0;
    receiver.onMessage = [&](win::UINT message) {
        if (message != WM_RELEASE_PROGRESS || secondExit != -1) return;
        reportsBeforeSecond = receiver.reports.size();
        secondExit = RunDrainex(Arguments("1").c_str());
        EXPECT_EQ(receiver.reports.size(), reportsBeforeSecond);
    };
    std::string commandLine = "Drainex.exe " + Arguments("1");
    win::STARTUPINFOA startup{};
    win::PROCESS_INFORMATION process{};
    ASSERT_TRUE(machine.programs.CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, win::FALSE, 0, nullptr,
                                                nullptr, &startup, &process));
    win::MSG message;
    while (machine.programs.WaitForSingleObject(process.hProcess, 0) != win::WAIT_OBJECT_0) {
        while (machine.user.PeekMessageA(&message, nullptr, 0, 0, win::PM_REMOVE)) machine.user.DispatchMessageA(&message);
        machine.programs.Sleep(1);
    }
    while (machine.user.PeekMessageA(&message, nullptr, 0, 0, win::PM_REMOVE)) machine.user.DispatchMessageA(&message);

    EXPECT_EQ(secondExit, 0);
    ASSERT_TRUE(receiver.Ended());
    EXPECT_EQ(receiver.reports[1].value, 8);
    EXPECT_EQ(receiver.Positions(), (std::vector<win::LPARAM>{0, 1, 2, 3, 4, 5, 6, 7}));
    win::DWORD exitCode = 1;
    machine.programs.GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(machine.sync.Exists(kDrainexMutexName));
    machine.handles.CloseHandle(process.hProcess);
    machine.handles.CloseHandle(process.hThread);
}

}  // namespace
