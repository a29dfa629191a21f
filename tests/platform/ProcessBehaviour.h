// Process and thread behaviour the process control relies on, checked against the
// installed kernel: the simulated one natively and the real one under Wine, so both
// are known to agree. The caller supplies a running process other than this one
// (and one of its threads), which the checks leave as they found it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

namespace process_behaviour {
using namespace win;

constexpr DWORD kBelowNormalPriorityClass = 0x4000;
constexpr DWORD kAboveNormalPriorityClass = 0x8000;
constexpr DWORD kThreadQueryInformation = 0x0040;
constexpr DWORD kFailedSuspend = 0xFFFFFFFF;
constexpr DWORD kNoSuchId = 0xFFFFFFF0;

inline HANDLE OpenThread(DWORD access, DWORD threadId) {
    auto open = platform::imports::OpenThread();
    return open ? open(access, FALSE, threadId) : nullptr;
}

inline void Close(HANDLE handle) { EXPECT_TRUE(platform::Handles().CloseHandle(handle)); }

// Each call returns the count before it; resuming a running thread leaves it at zero.
inline void SuspendCountsStackAndUnwind(DWORD threadId) {
    auto& processes = platform::Processes();
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, threadId);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(processes.SuspendThread(thread), 0u);
    EXPECT_EQ(processes.SuspendThread(thread), 1u);
    EXPECT_EQ(processes.ResumeThread(thread), 2u);
    EXPECT_EQ(processes.ResumeThread(thread), 1u);
    EXPECT_EQ(processes.ResumeThread(thread), 0u);
    EXPECT_EQ(processes.ResumeThread(thread), 0u);
    EXPECT_EQ(processes.SuspendThread(thread), 0u);
    EXPECT_EQ(processes.ResumeThread(thread), 1u);
    Close(thread);

    HANDLE queryOnly = OpenThread(kThreadQueryInformation, threadId);
    ASSERT_NE(queryOnly, nullptr);
    EXPECT_EQ(processes.SuspendThread(queryOnly), kFailedSuspend);
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_ACCESS_DENIED);
    Close(queryOnly);

    EXPECT_EQ(OpenThread(THREAD_SUSPEND_RESUME, kNoSuchId), nullptr);
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_INVALID_PARAMETER);
}

// Windows quietly gives HIGH instead of REALTIME to a caller without the privilege to
// raise priorities, while Wine grants it, so the real-time class is left out here.
inline void PriorityClassesRoundTrip(DWORD processId) {
    auto& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, processId);
    ASSERT_NE(process, nullptr);
    const DWORD original = processes.GetPriorityClass(process);
    EXPECT_EQ(original, NORMAL_PRIORITY_CLASS);
    for (DWORD priorityClass : {IDLE_PRIORITY_CLASS, kBelowNormalPriorityClass, kAboveNormalPriorityClass,
                                HIGH_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS}) {
        EXPECT_TRUE(processes.SetPriorityClass(process, priorityClass)) << priorityClass;
        EXPECT_EQ(processes.GetPriorityClass(process), priorityClass);
    }
    EXPECT_FALSE(processes.SetPriorityClass(process, 0x12345));
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(processes.GetPriorityClass(process), NORMAL_PRIORITY_CLASS);
    Close(process);

    HANDLE queryOnly = processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    ASSERT_NE(queryOnly, nullptr);
    EXPECT_FALSE(processes.SetPriorityClass(queryOnly, HIGH_PRIORITY_CLASS));
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(processes.GetPriorityClass(queryOnly), NORMAL_PRIORITY_CLASS);
    Close(queryOnly);

    EXPECT_EQ(processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, kNoSuchId), nullptr);
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_INVALID_PARAMETER);
}

inline void AffinityMasksRoundTrip(DWORD processId) {
    auto& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, processId);
    ASSERT_NE(process, nullptr);
    DWORD_PTR original = 0;
    DWORD_PTR system = 0;
    ASSERT_TRUE(processes.GetProcessAffinityMask(process, &original, &system));
    EXPECT_NE(original, 0u);
    EXPECT_EQ(original & ~system, 0u);

    const DWORD_PTR lowest = system & (~system + 1);
    ASSERT_TRUE(processes.SetProcessAffinityMask(process, lowest));
    DWORD_PTR now = 0;
    DWORD_PTR systemAgain = 0;
    ASSERT_TRUE(processes.GetProcessAffinityMask(process, &now, &systemAgain));
    EXPECT_EQ(now, lowest);
    EXPECT_EQ(systemAgain, system);

    EXPECT_FALSE(processes.SetProcessAffinityMask(process, 0));
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_INVALID_PARAMETER);
    const DWORD_PTR outside = ~system & (system + 1);  // the processor above the system's highest
    if (outside != 0) {
        EXPECT_FALSE(processes.SetProcessAffinityMask(process, outside));
        EXPECT_EQ(platform::Handles().GetLastError(), ERROR_INVALID_PARAMETER);
    }
    ASSERT_TRUE(processes.GetProcessAffinityMask(process, &now, &systemAgain));
    EXPECT_EQ(now, lowest);

    EXPECT_TRUE(processes.SetProcessAffinityMask(process, original));
    ASSERT_TRUE(processes.GetProcessAffinityMask(process, &now, &systemAgain));
    EXPECT_EQ(now, original);
    Close(process);
}

// A program started without a class flag gets its parent's processor mask, and the
// snapshot names its parent. Windows also passes on the idle and below-normal classes;
// Wine does not pass on the idle class, so the class is not compared here. startChild
// starts a program as a child of this process and returns its id.
inline void ChildInheritsTheProcessorMask(const std::function<DWORD()>& startChild) {
    auto& processes = platform::Processes();
    const DWORD selfId = processes.GetCurrentProcessId();
    HANDLE self = processes.OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, selfId);
    ASSERT_NE(self, nullptr);
    DWORD_PTR original = 0;
    DWORD_PTR system = 0;
    ASSERT_TRUE(processes.GetProcessAffinityMask(self, &original, &system));
    const DWORD_PTR lowest = system & (~system + 1);
    ASSERT_TRUE(processes.SetProcessAffinityMask(self, lowest));
    const DWORD childId = startChild();
    EXPECT_TRUE(processes.SetProcessAffinityMask(self, original));
    Close(self);
    ASSERT_NE(childId, 0u);

    HANDLE child = processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, childId);
    ASSERT_NE(child, nullptr);
    DWORD_PTR inherited = 0;
    EXPECT_TRUE(processes.GetProcessAffinityMask(child, &inherited, &system));
    EXPECT_EQ(inherited, lowest);
    Close(child);

    HANDLE snapshot = processes.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    DWORD parentId = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = processes.Process32First(snapshot, &entry); more; more = processes.Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == childId) parentId = entry.th32ParentProcessID;
    }
    Close(snapshot);
    EXPECT_EQ(parentId, selfId);
}

inline unsigned long long Ticks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// GetProcessTimes is looked up at run time, as the 9x family lacks it. The caller
// starts the younger process after this one. Only the creation time is compared:
// the exit time of a running process is undefined and the busy times are the real
// scheduler's.
inline void ProcessTimesGiveTheCreationOrder(DWORD youngerProcessId) {
    auto getTimes = platform::imports::GetProcessTimes();
    ASSERT_NE(getTimes, nullptr);
    auto& processes = platform::Processes();
    HANDLE self = processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processes.GetCurrentProcessId());
    HANDLE younger = processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, youngerProcessId);
    ASSERT_NE(self, nullptr);
    ASSERT_NE(younger, nullptr);
    FILETIME selfCreated{}, youngerCreated{}, exit{}, kernel{}, user{};
    ASSERT_TRUE(getTimes(self, &selfCreated, &exit, &kernel, &user));
    ASSERT_TRUE(getTimes(younger, &youngerCreated, &exit, &kernel, &user));
    EXPECT_NE(Ticks(selfCreated), 0u);
    EXPECT_GE(Ticks(youngerCreated), Ticks(selfCreated));
    Close(self);
    Close(younger);

    HANDLE terminateOnly = processes.OpenProcess(PROCESS_TERMINATE, FALSE, youngerProcessId);
    ASSERT_NE(terminateOnly, nullptr);
    EXPECT_FALSE(getTimes(terminateOnly, &youngerCreated, &exit, &kernel, &user));
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_ACCESS_DENIED);
    Close(terminateOnly);
}

// A process snapshot names the process by its file name (the NT family) and counts
// its threads as the thread snapshot lists them, the given one among them.
inline void SnapshotsListTheProcessAndItsThreads(DWORD processId, DWORD threadId, const std::string& fileName,
                                                 DWORD minimumThreads) {
    auto& processes = platform::Processes();
    HANDLE snapshot = processes.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);

    std::vector<PROCESSENTRY32> found;
    bool sawSelf = false;
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = processes.Process32First(snapshot, &process); more;
         more = processes.Process32Next(snapshot, &process)) {
        EXPECT_EQ(process.dwSize, sizeof process);
        sawSelf = sawSelf || process.th32ProcessID == processes.GetCurrentProcessId();
        if (process.th32ProcessID == processId) found.push_back(process);
    }
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(sawSelf);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(std::string(found[0].szExeFile), fileName);
    EXPECT_GE(found[0].cntThreads, minimumThreads);

    std::vector<DWORD> threads;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = processes.Thread32First(snapshot, &thread); more;
         more = processes.Thread32Next(snapshot, &thread)) {
        if (thread.th32OwnerProcessID == processId) threads.push_back(thread.th32ThreadID);
    }
    EXPECT_EQ(platform::Handles().GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_EQ(threads.size(), found[0].cntThreads);
    EXPECT_NE(std::find(threads.begin(), threads.end(), threadId), threads.end());

    // Windows answers a short entry with ERROR_BAD_LENGTH and Wine with
    // ERROR_INSUFFICIENT_BUFFER, so only the refusal is checked.
    process.dwSize = sizeof process - 4;
    EXPECT_FALSE(processes.Process32First(snapshot, &process));
    Close(snapshot);
}

}  // namespace process_behaviour
