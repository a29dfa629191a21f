// Processes and threads of the simulated machine: names, threads with suspend
// counts, access rules per right, priority classes, affinity masks, working-set
// trims, termination and tool-help snapshots. The machine's own process
// ("Vornel.exe" with one thread) is always running.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

class Machine;

class Processes : public platform::IProcesses {
public:
    explicit Processes(Machine& machine);
    ~Processes() override;

    // --- Test control ---
    // A running process with the given image path and number of threads; returns its id.
    // Snapshots report the file name on the NT family and the whole path on the 9x family.
    // Each process starts one second after the one before. A given id reuses the id of an
    // ended process.
    DWORD AddProcess(const std::string& path, size_t threadCount = 1, DWORD processId = 0);
    // A program that a running process starts without a class flag, as CreateProcess does:
    // it inherits the parent's idle or below-normal class and the parent's processor mask.
    DWORD StartChild(DWORD parentId, const std::string& path, DWORD processId = 0);
    // Ends a process at once, as a kill from outside would.
    void EndProcess(DWORD processId);
    // Makes another running process the machine's own (a new start of the program).
    void SetCurrentProcess(DWORD processId);
    DWORD AddThread(DWORD processId);
    // The thread ends and its identifier names a new thread of another process.
    void ReuseThreadId(DWORD threadId, DWORD processId);
    std::vector<DWORD> ThreadsOf(DWORD processId) const;
    // OpenProcess fails for any request that includes one of these rights (all: 0xFFFFFFFF).
    void DenyProcessAccess(DWORD processId, DWORD rights);
    // OpenThread fails for any request that includes one of these rights.
    void DenyThreadAccess(DWORD threadId, DWORD rights);
    void FailAffinityQuery(DWORD processId, bool fail);
    void FailSnapshots(bool fail);
    void SetFsDword(DWORD offset, DWORD value);
    DWORD CurrentProcess() const { return currentProcessId_; }

    bool IsRunning(DWORD processId) const;
    // The exit code of a terminated process, STILL_ACTIVE while it runs.
    DWORD ExitCode(DWORD processId) const;
    DWORD PriorityOf(DWORD processId) const;
    DWORD_PTR AffinityOf(DWORD processId) const;
    // SetProcessWorkingSetSize calls with minimum and maximum both (SIZE_T)-1.
    int WorkingSetTrims(DWORD processId) const;
    DWORD SuspendCount(DWORD threadId) const;
    // Calls so far, whether they succeeded or not: tool-help snapshots of the processes and of
    // the threads, and OpenProcess; and the reads of the system's process information that
    // handed records over (a call asking only for the size is not one).
    int ProcessSnapshots() const;
    int ThreadSnapshots() const;
    int ProcessInformationReads() const;
    int ProcessOpens() const;

    // Calls the unhandled-exception filter as a crash with this code would; its result, or
    // EXCEPTION_CONTINUE_SEARCH without one.
    LONG RaiseUnhandledException(DWORD code);

    // Exported from kernel32.dll (OpenThread is not on every system; GetProcessTimes fails on 9x).
    HANDLE OpenThread(DWORD access, BOOL inherit, DWORD threadId);
    BOOL GetProcessTimes(HANDLE process, FILETIME* creation, FILETIME* exit, FILETIME* kernel, FILETIME* user);
    DWORD GetProcessIdOfThread(HANDLE thread);
    // Exported from ntdll.dll: SystemProcessInformation only, a record per process without
    // thread records or image names.
    NTSTATUS NtQuerySystemInformation(DWORD informationClass, void* information, DWORD length, DWORD* returnLength);

    // --- IProcesses ---
    HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) override;
    BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) override;
    BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) override;
    BOOL Thread32First(HANDLE snapshot, THREADENTRY32* entry) override;
    BOOL Thread32Next(HANDLE snapshot, THREADENTRY32* entry) override;
    HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override;
    HANDLE GetCurrentProcess() override;
    DWORD GetCurrentProcessId() override;
    DWORD GetCurrentThreadId() override;
    DWORD GetPriorityClass(HANDLE process) override;
    BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) override;
    BOOL GetProcessAffinityMask(HANDLE process, DWORD_PTR* processMask, DWORD_PTR* systemMask) override;
    BOOL SetProcessAffinityMask(HANDLE process, DWORD_PTR mask) override;
    BOOL SetProcessWorkingSetSize(HANDLE process, SIZE_T minimum, SIZE_T maximum) override;
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override;
    DWORD SuspendThread(HANDLE thread) override;
    DWORD ResumeThread(HANDLE thread) override;
    DWORD ReadFsDword(DWORD offset) override;
    TOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(TOP_LEVEL_EXCEPTION_FILTER filter) override;

private:
    struct Thread {
        DWORD ownerId = 0;
        DWORD deniedRights = 0;
        DWORD suspendCount = 0;
    };
    struct Process {
        std::string path;
        DWORD parentId = 0;
        std::vector<DWORD> threads;
        DWORD deniedRights = 0;
        DWORD priorityClass = NORMAL_PRIORITY_CLASS;
        DWORD_PTR affinity = 0;
        bool failAffinityQuery = false;
        int trims = 0;
        bool running = true;
        DWORD exitCode = STILL_ACTIVE;
        uint64_t creationTime = 0;
    };
    struct Snapshot;

    // The running process a handle opened with one of the given rights refers to; null (last error set) otherwise.
    Process* Opened(HANDLE handle, DWORD rights);
    Thread* OpenedThread(HANDLE handle);
    void End(Process& process, DWORD exitCode);
    BOOL NextEntry(HANDLE snapshot, PROCESSENTRY32* entry, bool first);
    BOOL NextEntry(HANDLE snapshot, THREADENTRY32* entry, bool first);
    DWORD_PTR SystemMask() const;
    bool Windows9x() const;

    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<DWORD, Process> processes_;
    std::map<DWORD, Thread> threads_;
    std::map<DWORD, DWORD> fsWords_;
    bool failSnapshots_ = false;
    int processSnapshots_ = 0;
    int threadSnapshots_ = 0;
    int processInformationReads_ = 0;
    int processOpens_ = 0;
    TOP_LEVEL_EXCEPTION_FILTER exceptionFilter_ = nullptr;
    uint64_t nextCreationTime_ = 0x01DA3F5000000000;  // early 2024
    DWORD nextProcessId_ = 0x100;
    DWORD nextThreadId_ = 0x2000;
    DWORD currentProcessId_ = 0;
    DWORD currentThreadId_ = 0;
};

}  // namespace sim
