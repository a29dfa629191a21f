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

bool clsEnhance::SuspendProcess(DWORD processId) {
    ThreadSnapshot threads;
    return ChangeThreads(processId, true, threads);
}

bool clsEnhance::ResumeProcess(DWORD processId) {
    ThreadSnapshot threads;
    return ChangeThreads(processId, false, threads);
}

bool clsEnhance::SuspendProcess(DWORD processId, ThreadSnapshot& threads) {
    return ChangeThreads(processId, true, threads);
}

bool clsEnhance::ResumeProcess(DWORD processId, ThreadSnapshot& threads) {
    return ChangeThreads(processId, false, threads);
}

bool clsEnhance::ChangeThreads(DWORD processId, bool suspend, ThreadSnapshot& threads) {
    auto& processes = platform::Processes();
    if (processId == processes.GetCurrentProcessId()) return false;
    const bool nt = IsNotWindows9x();
    auto openThread = platform::imports::OpenThread();
    if (nt ? openThread == nullptr : ProcessIdObfuscator == 0) return false;
    // Where the system can tell a thread's process, each thread is checked to still be the
    // process's: an identifier may name another program's thread once the snapshot's has ended.
    auto ownerOf = nt ? platform::imports::GetProcessIdOfThread() : nullptr;
    const DWORD access =
        THREAD_SUSPEND_RESUME |
        (ownerOf == nullptr ? 0 : platform::IsVistaOrLater() ? THREAD_QUERY_LIMITED_INFORMATION : THREAD_QUERY_INFORMATION);
    bool reached = false;
    for (DWORD threadId : threads.ThreadsOf(processId)) {
        const platform::ScopedHandle thread(nt ? openThread(access, FALSE, threadId)
                                               : OpenThreadLegacy(access, FALSE, threadId));
        if (!thread) continue;
        if (ownerOf != nullptr && ownerOf(thread.Get()) != processId) continue;
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
