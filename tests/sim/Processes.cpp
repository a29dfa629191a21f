#include "sim/Processes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

struct ProcessHandle : HandleObject {
    DWORD processId = 0;
    DWORD access = 0;
};

struct ThreadHandle : HandleObject {
    DWORD threadId = 0;
    DWORD access = 0;
};

LONG BasePriority(DWORD priorityClass) {
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS: return 4;
    case HIGH_PRIORITY_CLASS: return 13;
    case REALTIME_PRIORITY_CLASS: return 24;
    default: return 8;
    }
}

bool ValidPriorityClass(DWORD priorityClass) {
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS:
    case NORMAL_PRIORITY_CLASS:
    case HIGH_PRIORITY_CLASS:
    case REALTIME_PRIORITY_CLASS:
    case 0x4000:  // below normal
    case 0x8000:  // above normal
        return true;
    default:
        return false;
    }
}

template <typename T>
T Failing(DWORD error, T result) {
    platform::Handles().SetLastError(error);
    return result;
}

HANDLE KAPI OpenThreadEntry(DWORD access, BOOL inherit, DWORD threadId) {
    return Machine::Current().processes.OpenThread(access, inherit, threadId);
}

DWORD KAPI GetProcessIdOfThreadEntry(HANDLE thread) {
    return Machine::Current().processes.GetProcessIdOfThread(thread);
}

NTSTATUS KAPI NtQuerySystemInformationEntry(DWORD informationClass, void* information, DWORD length,
                                            DWORD* returnLength) {
    return Machine::Current().processes.NtQuerySystemInformation(informationClass, information, length, returnLength);
}

BOOL KAPI GetProcessTimesEntry(HANDLE process, FILETIME* creation, FILETIME* exit, FILETIME* kernel,
                               FILETIME* user) {
    return Machine::Current().processes.GetProcessTimes(process, creation, exit, kernel, user);
}

BOOL KAPI SetProcessWorkingSetSizeEntry(HANDLE process, SIZE_T minimum, SIZE_T maximum) {
    return Machine::Current().processes.SetProcessWorkingSetSize(process, minimum, maximum);
}

}  // namespace

struct Processes::Snapshot : HandleObject {
    std::vector<PROCESSENTRY32> processes;
    std::vector<THREADENTRY32> threads;
    size_t nextProcess = 0;
    size_t nextThread = 0;
};

Processes::Processes(Machine& machine) : machine_(machine) {
    currentProcessId_ = AddProcess("C:\\Kestrava\\Vornel.exe");
    currentThreadId_ = threads_.rbegin()->first;
    machine_.modules.Export("kernel32.dll", "OpenThread", win::ProcCast<FARPROC>(&OpenThreadEntry));
    machine_.modules.Export("kernel32.dll", "SetProcessWorkingSetSize",
                            win::ProcCast<FARPROC>(&SetProcessWorkingSetSizeEntry));
    machine_.modules.Export("kernel32.dll", "GetProcessTimes", win::ProcCast<FARPROC>(&GetProcessTimesEntry));
    machine_.modules.Export("kernel32.dll", "GetProcessIdOfThread", win::ProcCast<FARPROC>(&GetProcessIdOfThreadEntry));
    machine_.modules.Export("ntdll.dll", "NtQuerySystemInformation",
                            win::ProcCast<FARPROC>(&NtQuerySystemInformationEntry));
    platform::Current().processes = this;
}

Processes::~Processes() { platform::Current().processes = nullptr; }

DWORD_PTR Processes::SystemMask() const {
    SYSTEM_INFO info{};
    machine_.systemInfo.GetSystemInfo(&info);
    return info.dwActiveProcessorMask;
}

bool Processes::Windows9x() const { return machine_.systemInfo.PlatformId() == VER_PLATFORM_WIN32_WINDOWS; }

DWORD Processes::AddProcess(const std::string& path, size_t threadCount, DWORD processId) {
    DWORD_PTR mask = SystemMask();
    std::lock_guard<std::mutex> lock(mutex_);
    DWORD id = processId;
    if (id == 0) {
        id = nextProcessId_;
        nextProcessId_ += 4;
    } else if (processes_.count(id) && processes_[id].running) {
        std::fprintf(stderr, "sim: process id %u is in use\n", static_cast<unsigned>(id));
        std::abort();
    }
    Process& process = processes_[id];
    process = Process{};
    process.path = path;
    process.affinity = mask;
    process.creationTime = nextCreationTime_;
    nextCreationTime_ += 10000000;  // one second in FILETIME units
    for (size_t i = 0; i < threadCount; ++i) {
        DWORD threadId = nextThreadId_;
        nextThreadId_ += 4;
        threads_[threadId].ownerId = id;
        process.threads.push_back(threadId);
    }
    return id;
}

DWORD Processes::StartChild(DWORD parentId, const std::string& path, DWORD processId) {
    DWORD id = AddProcess(path, 1, processId);
    std::lock_guard<std::mutex> lock(mutex_);
    const Process& parent = processes_.at(parentId);
    Process& child = processes_[id];
    child.parentId = parentId;
    child.affinity = parent.affinity;
    if (parent.priorityClass == IDLE_PRIORITY_CLASS || parent.priorityClass == BELOW_NORMAL_PRIORITY_CLASS) {
        child.priorityClass = parent.priorityClass;
    }
    return id;
}

DWORD Processes::AddThread(DWORD processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    if (it == processes_.end() || !it->second.running) return 0;
    DWORD threadId = nextThreadId_;
    nextThreadId_ += 4;
    threads_[threadId].ownerId = processId;
    it->second.threads.push_back(threadId);
    return threadId;
}

void Processes::ReuseThreadId(DWORD threadId, DWORD processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    Thread& thread = threads_.at(threadId);
    auto& before = processes_.at(thread.ownerId).threads;
    before.erase(std::find(before.begin(), before.end(), threadId));
    thread = Thread{};
    thread.ownerId = processId;
    processes_.at(processId).threads.push_back(threadId);
}

void Processes::EndProcess(DWORD processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    if (it != processes_.end()) End(it->second, 1);
}

// Called with the lock held.
void Processes::End(Process& process, DWORD exitCode) {
    process.running = false;
    process.exitCode = exitCode;
    for (DWORD threadId : process.threads) threads_.erase(threadId);
    process.threads.clear();
}

void Processes::SetCurrentProcess(DWORD processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    currentProcessId_ = processId;
    currentThreadId_ = processes_.at(processId).threads.at(0);
}

LONG Processes::RaiseUnhandledException(DWORD code) {
    TOP_LEVEL_EXCEPTION_FILTER filter = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        filter = exceptionFilter_;
    }
    if (filter == nullptr) return EXCEPTION_CONTINUE_SEARCH;
    EXCEPTION_RECORD record{};
    record.ExceptionCode = code;
    EXCEPTION_POINTERS pointers{&record, nullptr};
    return filter(&pointers);
}

TOP_LEVEL_EXCEPTION_FILTER Processes::SetUnhandledExceptionFilter(TOP_LEVEL_EXCEPTION_FILTER filter) {
    std::lock_guard<std::mutex> lock(mutex_);
    TOP_LEVEL_EXCEPTION_FILTER previous = exceptionFilter_;
    exceptionFilter_ = filter;
    return previous;
}

std::vector<DWORD> Processes::ThreadsOf(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    return it == processes_.end() ? std::vector<DWORD>() : it->second.threads;
}

void Processes::DenyProcessAccess(DWORD processId, DWORD rights) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    if (it != processes_.end()) it->second.deniedRights = rights;
}

void Processes::DenyThreadAccess(DWORD threadId, DWORD rights) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = threads_.find(threadId);
    if (it != threads_.end()) it->second.deniedRights = rights;
}

void Processes::FailAffinityQuery(DWORD processId, bool fail) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    if (it != processes_.end()) it->second.failAffinityQuery = fail;
}

void Processes::FailSnapshots(bool fail) {
    std::lock_guard<std::mutex> lock(mutex_);
    failSnapshots_ = fail;
}

void Processes::SetFsDword(DWORD offset, DWORD value) {
    std::lock_guard<std::mutex> lock(mutex_);
    fsWords_[offset] = value;
}

bool Processes::IsRunning(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    return it != processes_.end() && it->second.running;
}

DWORD Processes::ExitCode(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    return it == processes_.end() ? 0 : it->second.exitCode;
}

DWORD Processes::PriorityOf(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    return it == processes_.end() ? 0 : it->second.priorityClass;
}

DWORD_PTR Processes::AffinityOf(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    return it == processes_.end() ? 0 : it->second.affinity;
}

int Processes::WorkingSetTrims(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = processes_.find(processId);
    return it == processes_.end() ? 0 : it->second.trims;
}

DWORD Processes::SuspendCount(DWORD threadId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = threads_.find(threadId);
    return it == threads_.end() ? 0 : it->second.suspendCount;
}

int Processes::ProcessSnapshots() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return processSnapshots_;
}

int Processes::ThreadSnapshots() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return threadSnapshots_;
}

int Processes::ProcessInformationReads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return processInformationReads_;
}

int Processes::ProcessOpens() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return processOpens_;
}

HANDLE Processes::CreateToolhelp32Snapshot(DWORD flags, DWORD) {
    bool fullPaths = Windows9x();
    auto snapshot = std::make_shared<Snapshot>();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (flags & TH32CS_SNAPPROCESS) ++processSnapshots_;
        if (flags & TH32CS_SNAPTHREAD) ++threadSnapshots_;
        if (failSnapshots_) return Failing(ERROR_NOT_ENOUGH_MEMORY, INVALID_HANDLE_VALUE);
        for (const auto& [id, process] : processes_) {
            if (!process.running) continue;
            if (flags & TH32CS_SNAPPROCESS) {
                PROCESSENTRY32 entry{};
                entry.th32ProcessID = id;
                entry.th32ParentProcessID = process.parentId;
                entry.cntThreads = static_cast<DWORD>(process.threads.size());
                entry.pcPriClassBase = BasePriority(process.priorityClass);
                size_t slash = process.path.find_last_of('\\');
                std::string name =
                    fullPaths || slash == std::string::npos ? process.path : process.path.substr(slash + 1);
                std::strncpy(entry.szExeFile, name.c_str(), sizeof entry.szExeFile - 1);
                snapshot->processes.push_back(entry);
            }
            if (flags & TH32CS_SNAPTHREAD) {
                for (DWORD threadId : process.threads) {
                    THREADENTRY32 entry{};
                    entry.th32ThreadID = threadId;
                    entry.th32OwnerProcessID = id;
                    entry.tpBasePri = BasePriority(process.priorityClass);
                    snapshot->threads.push_back(entry);
                }
            }
        }
    }
    return machine_.handles.Add(snapshot);
}

// Entries must carry the size of the structure of this build, as on Windows.
BOOL Processes::NextEntry(HANDLE handle, PROCESSENTRY32* entry, bool first) {
    auto snapshot = machine_.handles.Get<Snapshot>(handle);
    if (!snapshot) return Failing(ERROR_INVALID_HANDLE, FALSE);
    if (entry == nullptr || entry->dwSize < sizeof(PROCESSENTRY32)) return Failing(ERROR_INVALID_PARAMETER, FALSE);
    std::lock_guard<std::mutex> lock(mutex_);
    if (first) snapshot->nextProcess = 0;
    if (snapshot->nextProcess >= snapshot->processes.size()) return Failing(ERROR_NO_MORE_FILES, FALSE);
    DWORD size = entry->dwSize;
    *entry = snapshot->processes[snapshot->nextProcess++];
    entry->dwSize = size;
    return TRUE;
}

BOOL Processes::NextEntry(HANDLE handle, THREADENTRY32* entry, bool first) {
    auto snapshot = machine_.handles.Get<Snapshot>(handle);
    if (!snapshot) return Failing(ERROR_INVALID_HANDLE, FALSE);
    if (entry == nullptr || entry->dwSize < sizeof(THREADENTRY32)) return Failing(ERROR_INVALID_PARAMETER, FALSE);
    std::lock_guard<std::mutex> lock(mutex_);
    if (first) snapshot->nextThread = 0;
    if (snapshot->nextThread >= snapshot->threads.size()) return Failing(ERROR_NO_MORE_FILES, FALSE);
    DWORD size = entry->dwSize;
    *entry = snapshot->threads[snapshot->nextThread++];
    entry->dwSize = size;
    return TRUE;
}

BOOL Processes::Process32First(HANDLE snapshot, PROCESSENTRY32* entry) { return NextEntry(snapshot, entry, true); }
BOOL Processes::Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) { return NextEntry(snapshot, entry, false); }
BOOL Processes::Thread32First(HANDLE snapshot, THREADENTRY32* entry) { return NextEntry(snapshot, entry, true); }
BOOL Processes::Thread32Next(HANDLE snapshot, THREADENTRY32* entry) { return NextEntry(snapshot, entry, false); }

HANDLE Processes::OpenProcess(DWORD access, BOOL, DWORD processId) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++processOpens_;
        auto it = processes_.find(processId);
        if (it == processes_.end() || !it->second.running) return Failing(ERROR_INVALID_PARAMETER, nullptr);
        if (access & it->second.deniedRights) return Failing(ERROR_ACCESS_DENIED, nullptr);
    }
    auto handle = std::make_shared<ProcessHandle>();
    handle->processId = processId;
    handle->access = access;
    return machine_.handles.Add(handle);
}

HANDLE Processes::OpenThread(DWORD access, BOOL, DWORD threadId) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = threads_.find(threadId);
        if (it == threads_.end()) return Failing(ERROR_INVALID_PARAMETER, nullptr);
        if (access & it->second.deniedRights) return Failing(ERROR_ACCESS_DENIED, nullptr);
    }
    auto handle = std::make_shared<ThreadHandle>();
    handle->threadId = threadId;
    handle->access = access;
    return machine_.handles.Add(handle);
}

HANDLE Processes::GetCurrentProcess() { return Handles::CurrentProcess(); }

DWORD Processes::GetCurrentProcessId() { return currentProcessId_; }

DWORD Processes::GetCurrentThreadId() { return currentThreadId_; }

// Called with the lock held.
Processes::Process* Processes::Opened(HANDLE handle, DWORD rights) {
    auto opened = machine_.handles.Get<ProcessHandle>(handle);
    if (!opened) return Failing(ERROR_INVALID_HANDLE, nullptr);
    if ((opened->access & rights) == 0) return Failing(ERROR_ACCESS_DENIED, nullptr);
    auto it = processes_.find(opened->processId);
    if (it == processes_.end() || !it->second.running) return Failing(ERROR_INVALID_HANDLE, nullptr);
    return &it->second;
}

BOOL Processes::GetProcessTimes(HANDLE handle, FILETIME* creation, FILETIME* exit, FILETIME* kernel,
                                FILETIME* user) {
    if (Windows9x()) return Failing(ERROR_CALL_NOT_IMPLEMENTED, FALSE);
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION);
    if (!process) return FALSE;
    *creation = FILETIME{static_cast<DWORD>(process->creationTime), static_cast<DWORD>(process->creationTime >> 32)};
    *exit = FILETIME{};
    *kernel = FILETIME{};
    *user = FILETIME{};
    return TRUE;
}

DWORD Processes::GetPriorityClass(HANDLE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_QUERY_INFORMATION);
    return process ? process->priorityClass : 0;
}

BOOL Processes::SetPriorityClass(HANDLE handle, DWORD priorityClass) {
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_SET_INFORMATION);
    if (!process) return FALSE;
    if (!ValidPriorityClass(priorityClass)) return Failing(ERROR_INVALID_PARAMETER, FALSE);
    process->priorityClass = priorityClass;
    return TRUE;
}

BOOL Processes::GetProcessAffinityMask(HANDLE handle, DWORD_PTR* processMask, DWORD_PTR* systemMask) {
    DWORD_PTR system = SystemMask();
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_QUERY_INFORMATION);
    if (!process) return FALSE;
    if (process->failAffinityQuery) return Failing(ERROR_ACCESS_DENIED, FALSE);
    *processMask = process->affinity;
    *systemMask = system;
    return TRUE;
}

BOOL Processes::SetProcessAffinityMask(HANDLE handle, DWORD_PTR mask) {
    DWORD_PTR system = SystemMask();
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_SET_INFORMATION);
    if (!process) return FALSE;
    if (mask == 0 || (mask & ~system) != 0) return Failing(ERROR_INVALID_PARAMETER, FALSE);
    process->affinity = mask;
    return TRUE;
}

BOOL Processes::SetProcessWorkingSetSize(HANDLE handle, SIZE_T minimum, SIZE_T maximum) {
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_SET_QUOTA);
    if (!process) return FALSE;
    if (minimum == static_cast<SIZE_T>(-1) && maximum == static_cast<SIZE_T>(-1)) ++process->trims;
    return TRUE;
}

BOOL Processes::TerminateProcess(HANDLE handle, UINT exitCode) {
    std::lock_guard<std::mutex> lock(mutex_);
    Process* process = Opened(handle, PROCESS_TERMINATE);
    if (!process) return FALSE;
    End(*process, exitCode);
    return TRUE;
}

// Called with the lock held.
Processes::Thread* Processes::OpenedThread(HANDLE handle) {
    auto opened = machine_.handles.Get<ThreadHandle>(handle);
    if (!opened) return Failing(ERROR_INVALID_HANDLE, nullptr);
    if (!(opened->access & THREAD_SUSPEND_RESUME)) return Failing(ERROR_ACCESS_DENIED, nullptr);
    auto it = threads_.find(opened->threadId);
    if (it == threads_.end()) return Failing(ERROR_INVALID_HANDLE, nullptr);
    return &it->second;
}

NTSTATUS Processes::NtQuerySystemInformation(DWORD informationClass, void* information, DWORD length,
                                             DWORD* returnLength) {
    constexpr NTSTATUS kInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003);
    constexpr NTSTATUS kUnsuccessful = static_cast<NTSTATUS>(0xC0000001);
    std::lock_guard<std::mutex> lock(mutex_);
    if (informationClass != SystemProcessInformation) return kInvalidInfoClass;
    if (failSnapshots_) return kUnsuccessful;
    std::vector<SYSTEM_PROCESS_INFORMATION> records;
    for (const auto& [id, process] : processes_) {
        if (!process.running) continue;
        SYSTEM_PROCESS_INFORMATION record{};
        record.NextEntryOffset = sizeof record;
        record.CreateTime = static_cast<int64_t>(process.creationTime);
        record.UniqueProcessId = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(id));
        record.InheritedFromUniqueProcessId = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(process.parentId));
        records.push_back(record);
    }
    if (!records.empty()) records.back().NextEntryOffset = 0;
    const DWORD needed = static_cast<DWORD>(records.size() * sizeof(SYSTEM_PROCESS_INFORMATION));
    if (returnLength != nullptr) *returnLength = needed;
    if (length < needed) return STATUS_INFO_LENGTH_MISMATCH;
    std::memcpy(information, records.data(), needed);
    ++processInformationReads_;
    return 0;
}

DWORD Processes::GetProcessIdOfThread(HANDLE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto opened = machine_.handles.Get<ThreadHandle>(handle);
    if (!opened) return Failing(ERROR_INVALID_HANDLE, 0);
    if (!(opened->access & (THREAD_QUERY_INFORMATION | THREAD_QUERY_LIMITED_INFORMATION))) {
        return Failing(ERROR_ACCESS_DENIED, 0);
    }
    auto it = threads_.find(opened->threadId);
    return it == threads_.end() ? Failing(ERROR_INVALID_HANDLE, 0) : it->second.ownerId;
}

DWORD Processes::SuspendThread(HANDLE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    Thread* thread = OpenedThread(handle);
    return thread ? thread->suspendCount++ : 0xFFFFFFFF;
}

DWORD Processes::ResumeThread(HANDLE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    Thread* thread = OpenedThread(handle);
    if (!thread) return 0xFFFFFFFF;
    DWORD previous = thread->suspendCount;
    if (previous > 0) --thread->suspendCount;
    return previous;
}

DWORD Processes::ReadFsDword(DWORD offset) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = fsWords_.find(offset);
    return it == fsWords_.end() ? 0 : it->second;
}

}  // namespace sim
