// Handles, programs, modules and system information, forwarded to kernel32.
#include "platform/win32/Win32.h"

KESTRAVA_SAME_LAYOUT(SECURITY_ATTRIBUTES);
KESTRAVA_SAME_LAYOUT(STARTUPINFOA);
KESTRAVA_SAME_LAYOUT(PROCESS_INFORMATION);
KESTRAVA_SAME_LAYOUT(SYSTEM_INFO);
KESTRAVA_SAME_LAYOUT(OSVERSIONINFOA);
KESTRAVA_SAME_LAYOUT(OSVERSIONINFOEXA);
KESTRAVA_SAME_LAYOUT(MEMORYSTATUS);
KESTRAVA_SAME_LAYOUT(MEMORYSTATUSEX);

namespace {

class Win32Handles : public platform::IHandles {
public:
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }
    DWORD GetLastError() override { return ::GetLastError(); }
    void SetLastError(DWORD error) override { ::SetLastError(error); }
    BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, HANDLE* target, DWORD access,
                         BOOL inherit, DWORD options) override {
        return ::DuplicateHandle(sourceProcess, source, targetProcess, target, access, inherit, options);
    }
};

class Win32Programs : public platform::IPrograms {
public:
    BOOL CreateProcessA(const char* applicationName, char* commandLine, win::SECURITY_ATTRIBUTES* processAttributes,
                        win::SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        void* environment, const char* currentDirectory, win::STARTUPINFOA* startupInfo,
                        win::PROCESS_INFORMATION* processInformation) override {
        return ::CreateProcessA(applicationName, commandLine,
                                reinterpret_cast<::SECURITY_ATTRIBUTES*>(processAttributes),
                                reinterpret_cast<::SECURITY_ATTRIBUTES*>(threadAttributes), inheritHandles,
                                creationFlags, environment, currentDirectory,
                                reinterpret_cast<::STARTUPINFOA*>(startupInfo),
                                reinterpret_cast<::PROCESS_INFORMATION*>(processInformation));
    }
    UINT WinExec(const char* commandLine, UINT showCommand) override { return ::WinExec(commandLine, showCommand); }
    HANDLE CreateThread(win::SECURITY_ATTRIBUTES* attributes, SIZE_T stackSize, win::THREAD_START_ROUTINE start,
                        void* parameter, DWORD creationFlags, DWORD* threadId) override {
        return ::CreateThread(reinterpret_cast<::SECURITY_ATTRIBUTES*>(attributes), stackSize,
                              reinterpret_cast<LPTHREAD_START_ROUTINE>(start), parameter, creationFlags, threadId);
    }
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
        return ::WaitForSingleObject(handle, milliseconds);
    }
    BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override { return ::GetExitCodeProcess(process, exitCode); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

class Win32Modules : public platform::IModules {
public:
    win::HMODULE LoadLibraryA(const char* name) override { return ::LoadLibraryA(name); }
    win::HMODULE GetModuleHandleA(const char* name) override { return ::GetModuleHandleA(name); }
    win::FARPROC GetProcAddress(win::HMODULE module, const char* name) override {
        return win::ProcCast<win::FARPROC>(::GetProcAddress(static_cast<::HMODULE>(module), name));
    }
    BOOL FreeLibrary(win::HMODULE module) override { return ::FreeLibrary(static_cast<::HMODULE>(module)); }
};

class Win32SystemInfo : public platform::ISystemInfo {
public:
    BOOL GetVersionExA(win::OSVERSIONINFOA* info) override {
        return ::GetVersionExA(reinterpret_cast<::OSVERSIONINFOA*>(info));
    }
    void GetSystemInfo(win::SYSTEM_INFO* info) override { ::GetSystemInfo(reinterpret_cast<::SYSTEM_INFO*>(info)); }
    UINT GetSystemDirectoryA(char* buffer, UINT size) override { return ::GetSystemDirectoryA(buffer, size); }
    UINT GetWindowsDirectoryA(char* buffer, UINT size) override { return ::GetWindowsDirectoryA(buffer, size); }
};

Win32Handles handles;
Win32Programs programs;
Win32Modules modules;
Win32SystemInfo systemInfo;

struct Install {
    Install() {
        platform::Installed& installed = platform::Current();
        installed.handles = &handles;
        installed.programs = &programs;
        installed.modules = &modules;
        installed.systemInfo = &systemInfo;
    }
} install;

}  // namespace
