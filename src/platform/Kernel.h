// Kernel area of the platform seam: handles, processes and threads, programs,
// modules, system information, memory and synchronisation.
#pragma once

#include "KernelTypes.h"

namespace platform {
using namespace win;

class IHandles {
public:
    virtual ~IHandles() = default;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual DWORD GetLastError() = 0;
    virtual void SetLastError(DWORD error) = 0;
    // DUPLICATE_CLOSE_SOURCE closes source even when the duplicate fails.
    virtual BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, HANDLE* target,
                                 DWORD access, BOOL inherit, DWORD options) = 0;
};

class IProcesses {
public:
    virtual ~IProcesses() = default;
    virtual HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) = 0;
    virtual BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) = 0;
    virtual BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) = 0;
    virtual BOOL Thread32First(HANDLE snapshot, THREADENTRY32* entry) = 0;
    virtual BOOL Thread32Next(HANDLE snapshot, THREADENTRY32* entry) = 0;
    virtual HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) = 0;
    virtual HANDLE GetCurrentProcess() = 0;
    virtual DWORD GetCurrentProcessId() = 0;
    virtual DWORD GetCurrentThreadId() = 0;
    virtual DWORD GetPriorityClass(HANDLE process) = 0;
    virtual BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) = 0;
    virtual BOOL GetProcessAffinityMask(HANDLE process, DWORD_PTR* processMask, DWORD_PTR* systemMask) = 0;
    virtual BOOL SetProcessAffinityMask(HANDLE process, DWORD_PTR mask) = 0;
    virtual BOOL SetProcessWorkingSetSize(HANDLE process, SIZE_T minimum, SIZE_T maximum) = 0;
    virtual BOOL TerminateProcess(HANDLE process, UINT exitCode) = 0;
    virtual DWORD SuspendThread(HANDLE thread) = 0;
    virtual DWORD ResumeThread(HANDLE thread) = 0;
    // The 32-bit word at the given offset of the current thread's information block (FS:offset).
    virtual DWORD ReadFsDword(DWORD offset) = 0;
    // Returns the filter installed before.
    virtual TOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(TOP_LEVEL_EXCEPTION_FILTER filter) = 0;
};

class IPrograms {
public:
    virtual ~IPrograms() = default;
    virtual BOOL CreateProcessA(const char* applicationName, char* commandLine,
                                SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                                BOOL inheritHandles, DWORD creationFlags, void* environment,
                                const char* currentDirectory, STARTUPINFOA* startupInfo,
                                PROCESS_INFORMATION* processInformation) = 0;
    virtual UINT WinExec(const char* commandLine, UINT showCommand) = 0;
    virtual HANDLE CreateThread(SECURITY_ATTRIBUTES* attributes, SIZE_T stackSize, THREAD_START_ROUTINE start,
                                void* parameter, DWORD creationFlags, DWORD* threadId) = 0;
    virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
    virtual BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

class IModules {
public:
    virtual ~IModules() = default;
    virtual HMODULE LoadLibraryA(const char* name) = 0;
    virtual HMODULE GetModuleHandleA(const char* name) = 0;
    virtual FARPROC GetProcAddress(HMODULE module, const char* name) = 0;
    virtual BOOL FreeLibrary(HMODULE module) = 0;
};

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;
    // Fills an OSVERSIONINFOA or OSVERSIONINFOEXA, chosen by dwOSVersionInfoSize (148 or 156).
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
    virtual void GetSystemInfo(SYSTEM_INFO* info) = 0;
    // Both return the length of the path written, without its terminator, or 0 on failure;
    // a buffer too small gets nothing and the length it needs, terminator included.
    virtual UINT GetSystemDirectoryA(char* buffer, UINT size) = 0;
    virtual UINT GetWindowsDirectoryA(char* buffer, UINT size) = 0;
};

// GlobalMemoryStatus and GlobalMemoryStatusEx are run-time imports (RuntimeImports.h).
class IMemory {
public:
    virtual ~IMemory() = default;
    virtual HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) = 0;
    virtual HLOCAL LocalFree(HLOCAL memory) = 0;
    virtual HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) = 0;
    virtual HGLOBAL GlobalFree(HGLOBAL memory) = 0;
};

class ISync {
public:
    virtual ~ISync() = default;
    virtual HANDLE CreateMutexA(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, const char* name) = 0;
    virtual BOOL ReleaseMutex(HANDLE mutex) = 0;
};

}  // namespace platform
