#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace {

std::vector<std::string> SnapshotNames() {
    auto& processes = platform::Processes();
    win::HANDLE snapshot = processes.CreateToolhelp32Snapshot(win::TH32CS_SNAPPROCESS, 0);
    std::vector<std::string> names;
    win::PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (win::BOOL more = processes.Process32First(snapshot, &entry); more;
         more = processes.Process32Next(snapshot, &entry)) {
        names.push_back(entry.szExeFile);
    }
    platform::Handles().CloseHandle(snapshot);
    return names;
}

TEST(SimProcesses, SnapshotsNameProcessesAsTheRunningFamilyDoes) {
    sim::Machine machine;
    machine.processes.AddProcess("C:\\Program Files\\Chat\\chat.exe");
    win::DWORD gone = machine.processes.AddProcess("C:\\Games\\gone.exe");
    win::HANDLE process = platform::Processes().OpenProcess(win::PROCESS_TERMINATE, win::FALSE, gone);
    platform::Processes().TerminateProcess(process, 3);
    platform::Handles().CloseHandle(process);

    EXPECT_EQ(SnapshotNames(), (std::vector<std::string>{"Vornel.exe", "chat.exe"}));
    machine.systemInfo.UseWindows9x();
    EXPECT_EQ(SnapshotNames(),
              (std::vector<std::string>{"C:\\Kestrava\\Vornel.exe", "C:\\Program Files\\Chat\\chat.exe"}));
    EXPECT_EQ(machine.processes.ExitCode(gone), 3u);
}

TEST(SimProcesses, EntriesMustCarryTheSizeOfThisBuildsStructures) {
    sim::Machine machine;
    auto& processes = platform::Processes();
    win::HANDLE snapshot = processes.CreateToolhelp32Snapshot(win::TH32CS_SNAPPROCESS | win::TH32CS_SNAPTHREAD, 0);
    win::PROCESSENTRY32 process{};
    process.dwSize = sizeof process - 1;  // 296 fits only the 32-bit structure
    EXPECT_FALSE(processes.Process32First(snapshot, &process));
    process.dwSize = sizeof process;
    EXPECT_TRUE(processes.Process32First(snapshot, &process));
    win::THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    EXPECT_TRUE(processes.Thread32First(snapshot, &thread));
    EXPECT_EQ(thread.th32OwnerProcessID, machine.processes.CurrentProcess());
    EXPECT_FALSE(processes.Thread32Next(snapshot, &thread));
    platform::Handles().CloseHandle(snapshot);
}

}  // namespace
