#include "process/clsEnhance.h"

#include "platform/EntryPoint.h"
#include "platform/Platform.h"
#include "platform/WindowsFamily.h"

using namespace win;

namespace {

constexpr DWORD kPriorityAccess = PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION;
constexpr DWORD kThreadInformationProcessWord = 0x30;

template <typename Proc>
void Resolve(HMODULE library, const char* name, Proc& entry) {
    entry = platform::EntryPoint<Proc>(library, name);
}

}  // namespace

// The library references taken here are kept for the life of the process.
clsEnhance::clsEnhance() {
    auto& modules = platform::Modules();
    HMODULE advapi = modules.LoadLibraryA("advapi32.dll");
    Resolve(advapi, "OpenSCManagerA", openSCManager);
    Resolve(advapi, "OpenServiceA", openService);
    Resolve(advapi, "QueryServiceConfigA", queryServiceConfig);
    Resolve(advapi, "ControlService", controlService);
    Resolve(advapi, "CloseServiceHandle", closeServiceHandle);
    Resolve(advapi, "ChangeServiceConfigA", changeServiceConfig);
    Resolve(modules.LoadLibraryA("kernel32.dll"), "OpenThread", openThread);
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
    if (nt ? openThread == nullptr : ProcessIdObfuscator == 0) return false;
    HANDLE snapshot = processes.CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool reached = false;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = processes.Thread32First(snapshot, &entry); more; more = processes.Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = nullptr;
        if (!nt) {
            thread = OpenThreadLegacy(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        } else if (openThread != nullptr) {
            thread = openThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        }
        if (thread == nullptr) continue;
        if (suspend) {
            processes.SuspendThread(thread);
        } else {
            processes.ResumeThread(thread);
        }
        platform::Handles().CloseHandle(thread);
        reached = true;
    }
    platform::Handles().CloseHandle(snapshot);
    return reached;
}

DWORD clsEnhance::SetProcessPriorityToLow(DWORD processId) { return ChangePriority(processId, IDLE_PRIORITY_CLASS); }

DWORD clsEnhance::SetProcessPriorityToHigh(DWORD processId) {
    return ChangePriority(processId, REALTIME_PRIORITY_CLASS);
}

DWORD clsEnhance::ChangePriority(DWORD processId, DWORD priorityClass) {
    auto& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(kPriorityAccess, FALSE, processId);
    if (process == nullptr) return 0;
    DWORD previous = processes.GetPriorityClass(process);
    processes.SetPriorityClass(process, priorityClass);
    platform::Handles().CloseHandle(process);
    return previous;
}

bool clsEnhance::RestoreProcessPriority(DWORD processId, DWORD priorityClass) {
    auto& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(kPriorityAccess, FALSE, processId);
    if (process == nullptr) return false;
    BOOL result = processes.SetPriorityClass(process, priorityClass);
    platform::Handles().CloseHandle(process);
    return result != FALSE;
}

// The mask is passed as given; the system refuses an empty or unavailable one.
bool clsEnhance::SetProcessAffinity(DWORD processId, DWORD mask, DWORD& previousMask) {
    auto& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(kPriorityAccess, FALSE, processId);
    if (process == nullptr) return false;
    DWORD_PTR previous = 0;
    DWORD_PTR system = 0;
    processes.GetProcessAffinityMask(process, &previous, &system);
    previousMask = static_cast<DWORD>(previous);
    BOOL result = processes.SetProcessAffinityMask(process, mask);
    platform::Handles().CloseHandle(process);
    return result != FALSE;
}

bool clsEnhance::SwapoutProcessMemory(DWORD processId) {
    constexpr SIZE_T kWholeWorkingSet = static_cast<SIZE_T>(-1);
    auto& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(PROCESS_SET_QUOTA, FALSE, processId);
    if (process == nullptr) return false;
    BOOL result = FALSE;
    if (IsNotWindows9x()) {
        result = processes.SetProcessWorkingSetSize(process, kWholeWorkingSet, kWholeWorkingSet);
    } else {
        auto trim = platform::KernelEntryPoint<platform::SetProcessWorkingSetSizeProc>("SetProcessWorkingSetSize");
        if (trim != nullptr) result = trim(process, kWholeWorkingSet, kWholeWorkingSet);
    }
    platform::Handles().CloseHandle(process);
    return result != FALSE;
}

bool clsEnhance::TerminateProcess(DWORD processId) {
    auto& processes = platform::Processes();
    if (processId == processes.GetCurrentProcessId()) return false;
    HANDLE process = processes.OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (process == nullptr) return false;
    BOOL result = processes.TerminateProcess(process, 0);
    platform::Handles().CloseHandle(process);
    return result != FALSE;
}
