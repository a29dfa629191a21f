// Processes and threads, forwarded to kernel32 and the tool-help functions.
#include "platform/RuntimeImports.h"
#include "platform/win32/Win32.h"

#include <tlhelp32.h>
#include <winternl.h>
#if defined(__i386__)
#include <intrin.h>
#endif

KESTRAVA_SAME_LAYOUT(PROCESSENTRY32);
KESTRAVA_SAME_LAYOUT(THREADENTRY32);
KESTRAVA_SAME_LAYOUT(FILETIME);
KESTRAVA_SAME_LAYOUT(EXCEPTION_RECORD);
KESTRAVA_SAME_LAYOUT(EXCEPTION_POINTERS);
// The seam's process record stops after the fields it reads.
#define KESTRAVA_SAME_OFFSET(type, field) \
    static_assert(offsetof(win::type, field) == offsetof(::type, field), #type "." #field " lies elsewhere")
KESTRAVA_SAME_OFFSET(SYSTEM_PROCESS_INFORMATION, NumberOfThreads);
KESTRAVA_SAME_OFFSET(SYSTEM_PROCESS_INFORMATION, CreateTime);
KESTRAVA_SAME_OFFSET(SYSTEM_PROCESS_INFORMATION, ImageName);
KESTRAVA_SAME_OFFSET(SYSTEM_PROCESS_INFORMATION, UniqueProcessId);
KESTRAVA_SAME_OFFSET(SYSTEM_PROCESS_INFORMATION, InheritedFromUniqueProcessId);

namespace {

class Win32Processes : public platform::IProcesses {
public:
    HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) override {
        return ::CreateToolhelp32Snapshot(flags, processId);
    }
    BOOL Process32First(HANDLE snapshot, win::PROCESSENTRY32* entry) override {
        return ::Process32First(snapshot, reinterpret_cast<::PROCESSENTRY32*>(entry));
    }
    BOOL Process32Next(HANDLE snapshot, win::PROCESSENTRY32* entry) override {
        return ::Process32Next(snapshot, reinterpret_cast<::PROCESSENTRY32*>(entry));
    }
    BOOL Thread32First(HANDLE snapshot, win::THREADENTRY32* entry) override {
        return ::Thread32First(snapshot, reinterpret_cast<::THREADENTRY32*>(entry));
    }
    BOOL Thread32Next(HANDLE snapshot, win::THREADENTRY32* entry) override {
        return ::Thread32Next(snapshot, reinterpret_cast<::THREADENTRY32*>(entry));
    }
    HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override {
        return ::OpenProcess(access, inherit, processId);
    }
    HANDLE GetCurrentProcess() override { return ::GetCurrentProcess(); }
    DWORD GetCurrentProcessId() override { return ::GetCurrentProcessId(); }
    DWORD GetCurrentThreadId() override { return ::GetCurrentThreadId(); }
    DWORD GetPriorityClass(HANDLE process) override { return ::GetPriorityClass(process); }
    BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) override {
        return ::SetPriorityClass(process, priorityClass);
    }
    // The affinity and working-set functions exist on the NT family only. The masks are
    // copied through, so a failed query leaves the caller's values as they were.
    BOOL GetProcessAffinityMask(HANDLE process, win::DWORD_PTR* processMask, win::DWORD_PTR* systemMask) override {
        auto query = platform::imports::GetProcessAffinityMask();
        if (query == nullptr) return NotImplemented();
        ::DWORD_PTR processValue = *processMask;
        ::DWORD_PTR systemValue = *systemMask;
        BOOL result = query(process, &processValue, &systemValue);
        *processMask = processValue;
        *systemMask = systemValue;
        return result;
    }
    BOOL SetProcessAffinityMask(HANDLE process, win::DWORD_PTR mask) override {
        auto apply = platform::imports::SetProcessAffinityMask();
        return apply != nullptr ? apply(process, mask) : NotImplemented();
    }
    BOOL SetProcessWorkingSetSize(HANDLE process, win::SIZE_T minimum, win::SIZE_T maximum) override {
        auto trim = platform::imports::SetProcessWorkingSetSize();
        return trim != nullptr ? trim(process, minimum, maximum) : NotImplemented();
    }
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override { return ::TerminateProcess(process, exitCode); }
    DWORD SuspendThread(HANDLE thread) override { return ::SuspendThread(thread); }
    DWORD ResumeThread(HANDLE thread) override { return ::ResumeThread(thread); }
    // The thread information block is reached through FS only on 32-bit x86.
    DWORD ReadFsDword(DWORD offset) override {
#if defined(__i386__)
        return __readfsdword(offset);
#else
        (void)offset;
        return 0;
#endif
    }
    win::TOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(win::TOP_LEVEL_EXCEPTION_FILTER filter) override {
        return win::ProcCast<win::TOP_LEVEL_EXCEPTION_FILTER>(
            ::SetUnhandledExceptionFilter(win::ProcCast<LPTOP_LEVEL_EXCEPTION_FILTER>(filter)));
    }
};

Win32Processes processes;

struct Install {
    Install() { platform::Current().processes = &processes; }
} install;

}  // namespace
