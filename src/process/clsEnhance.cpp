#include "process/clsEnhance.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"
#include "platform/ScopedHandle.h"
#include "platform/WindowsFamily.h"

using namespace win;

namespace {

constexpr DWORD kPriorityAccess = PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION;
constexpr DWORD kThreadInformationProcessWord = 0x30;

}  // namespace

clsEnhance::clsEnhance() {
    if (!IsNotWindows9x()) {
        auto& processes = platform::Processes();
        ProcessIdObfuscator = processes.GetCurrentProcessId() ^ processes.ReadFsDword(kThreadInformationProcessWord);
    }
}

clsEnhance::~clsEnhance() = default;

bool clsEnhance::IsNotWindows9x() { return platform::IsNtFamily(); }

bool clsEnhance::SuspendProcess(DWORD processId) { return ChangeThreads(processId, true); }

bool clsEnhance::ResumeProcess(DWORD processId) { return ChangeThreads(processId, false); }

bool clsEnhance::ChangeThreads(DWORD processId, bool suspend) {
    auto& processes = platform::Processes();
    if (processId == processes.GetCurrentProcessId()) return false;
    const bool nt = IsNotWindows9x();
    auto openThread = platform::imports::OpenThread();
    if (nt ? openThread == nullptr : ProcessIdObfuscator == 0) return false;
    const platform::ScopedHandle snapshot(processes.CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return false;
    bool reached = false;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = processes.Thread32First(snapshot.Get(), &entry); more;
         more = processes.Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        const platform::ScopedHandle thread(nt ? openThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)
                                               : OpenThreadLegacy(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (!thread) continue;
        if (suspend) {
            processes.SuspendThread(thread.Get());
        } else {
            processes.ResumeThread(thread.Get());
        }
        reached = true;
    }
    return reached;
}

DWORD clsEnhance::SetProcessPriorityToLow(DWORD processId) { return ChangePriority(processId, IDLE_PRIORITY_CLASS); }

DWORD clsEnhance::SetProcessPriorityToHigh(DWORD processId) {
    return ChangePriority(processId, REALTIME_PRIORITY_CLASS);
}

DWORD clsEnhance::ChangePriority(DWORD processId, DWORD priorityClass) {
    auto& processes = platform::Processes();
    const platform::ScopedHandle process(processes.OpenProcess(kPriorityAccess, FALSE, processId));
    if (!process) return 0;
    DWORD previous = processes.GetPriorityClass(process.Get());
    processes.SetPriorityClass(process.Get(), priorityClass);
    return previous;
}

bool clsEnhance::RestoreProcessPriority(DWORD processId, DWORD priorityClass) {
    auto& processes = platform::Processes();
    const platform::ScopedHandle process(processes.OpenProcess(kPriorityAccess, FALSE, processId));
    if (!process) return false;
    BOOL result = processes.SetPriorityClass(process.Get(), priorityClass);
    return result != FALSE;
}

// The mask is passed as given; the system refuses an empty or unavailable one.
bool clsEnhance::SetProcessAffinity(DWORD processId, DWORD mask, DWORD& previousMask) {
    auto& processes = platform::Processes();
    const platform::ScopedHandle process(processes.OpenProcess(kPriorityAccess, FALSE, processId));
    if (!process) return false;
    DWORD_PTR previous = 0;
    DWORD_PTR system = 0;
    processes.GetProcessAffinityMask(process.Get(), &previous, &system);
    previousMask = static_cast<DWORD>(previous);
    BOOL result = processes.SetProcessAffinityMask(process.Get(), mask);
    return result != FALSE;
}

bool clsEnhance::SwapoutProcessMemory(DWORD processId) {
    constexpr SIZE_T kWholeWorkingSet = static_cast<SIZE_T>(-1);
    auto& processes = platform::Processes();
    const platform::ScopedHandle process(processes.OpenProcess(PROCESS_SET_QUOTA, FALSE, processId));
    if (!process) return false;
    BOOL result = FALSE;
    if (IsNotWindows9x()) {
        result = processes.SetProcessWorkingSetSize(process.Get(), kWholeWorkingSet, kWholeWorkingSet);
    } else {
        auto trim = platform::imports::SetProcessWorkingSetSize();
        if (trim != nullptr) result = trim(process.Get(), kWholeWorkingSet, kWholeWorkingSet);
    }
    return result != FALSE;
}

bool clsEnhance::TerminateProcess(DWORD processId) {
    auto& processes = platform::Processes();
    if (processId == processes.GetCurrentProcessId()) return false;
    const platform::ScopedHandle process(processes.OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process) return false;
    BOOL result = processes.TerminateProcess(process.Get(), 0);
    return result != FALSE;
}
