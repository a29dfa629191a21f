// The entry points looked up by name at run time: those that not every supported Windows
// exports, so that the programs still load where one is missing, and those of system
// libraries the programs do not import. Each is declared here once, with its library;
// platform::imports::Name() gives it, resolved on first use through the installed
// platform's modules, null where the library or the export is missing.
#pragma once

#include "FileTypes.h"
#include "KernelTypes.h"
#include "RegistryTypes.h"
#include "ServiceTypes.h"
#include "UserTypes.h"

namespace platform {
using namespace win;

enum class ImportLibrary {
    // Imported by the programs, or part of every NT process, so loaded already: looked up
    // with GetModuleHandleA.
    Kernel32,
    Advapi32,
    User32,
    Ntdll,
    // Not imported: loaded on first use by its full path in the system folder and kept
    // loaded. By bare name, a library that Windows does not always take from its own
    // folder would be looked for beside the program first, also where the search cannot
    // be restricted (Windows 9x, XP before SP1).
    Comctl32,
    Shell32,
};

// IMPORT(library, result, name, parameters)
#define KESTRAVA_RUNTIME_IMPORTS(IMPORT)                                                                               \
    IMPORT(Kernel32, HANDLE, OpenThread, (DWORD access, BOOL inherit, DWORD threadId))                                 \
    IMPORT(Kernel32, DWORD, GetProcessIdOfThread, (HANDLE thread))                                                     \
    IMPORT(Kernel32, BOOL, GetProcessTimes,                                                                            \
           (HANDLE process, FILETIME* creation, FILETIME* exit, FILETIME* kernel, FILETIME* user))                     \
    IMPORT(Kernel32, BOOL, GetProcessAffinityMask,                                                                     \
           (HANDLE process, DWORD_PTR* processMask, DWORD_PTR* systemMask))                                            \
    IMPORT(Kernel32, BOOL, SetProcessAffinityMask, (HANDLE process, DWORD_PTR mask))                                   \
    IMPORT(Kernel32, BOOL, SetProcessWorkingSetSize, (HANDLE process, SIZE_T minimum, SIZE_T maximum))                 \
    IMPORT(Kernel32, void, GlobalMemoryStatus, (MEMORYSTATUS* status))                                                 \
    IMPORT(Kernel32, BOOL, GlobalMemoryStatusEx, (MEMORYSTATUSEX* status))                                             \
    IMPORT(Kernel32, BOOL, SetDefaultDllDirectories, (DWORD directoryFlags))                                           \
    IMPORT(Kernel32, BOOL, SetDllDirectoryA, (const char* path))                                                       \
    IMPORT(Advapi32, SC_HANDLE, OpenSCManagerA, (const char* machine, const char* database, DWORD access))             \
    IMPORT(Advapi32, SC_HANDLE, OpenServiceA, (SC_HANDLE manager, const char* name, DWORD access))                     \
    IMPORT(Advapi32, BOOL, QueryServiceConfigA,                                                                        \
           (SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size, DWORD* needed))                              \
    IMPORT(Advapi32, BOOL, ControlService, (SC_HANDLE service, DWORD control, SERVICE_STATUS* status))                 \
    IMPORT(Advapi32, BOOL, CloseServiceHandle, (SC_HANDLE handle))                                                     \
    IMPORT(Advapi32, BOOL, ChangeServiceConfigA,                                                                       \
           (SC_HANDLE service, DWORD serviceType, DWORD startType, DWORD errorControl, const char* binaryPath,         \
            const char* loadOrderGroup, DWORD* tagId, const char* dependencies, const char* startName,                 \
            const char* password, const char* displayName))                                                            \
    IMPORT(Advapi32, BOOL, AddAccessAllowedAceEx, (PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid))       \
    IMPORT(Advapi32, BOOL, SetSecurityDescriptorOwner, (PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL defaulted))  \
    IMPORT(Advapi32, BOOL, SetSecurityDescriptorControl,                                                               \
           (PSECURITY_DESCRIPTOR descriptor, WORD bitsOfInterest, WORD bitsToSet))                                     \
    IMPORT(Advapi32, BOOL, GetKernelObjectSecurity,                                                                    \
           (HANDLE object, DWORD information, PSECURITY_DESCRIPTOR descriptor, DWORD length, DWORD* needed))           \
    IMPORT(Advapi32, BOOL, GetSecurityDescriptorOwner,                                                                 \
           (PSECURITY_DESCRIPTOR descriptor, PSID* owner, BOOL* defaulted))                                            \
    IMPORT(Advapi32, BOOL, GetSecurityDescriptorDacl,                                                                  \
           (PSECURITY_DESCRIPTOR descriptor, BOOL* present, PACL* dacl, BOOL* defaulted))                              \
    IMPORT(Advapi32, BOOL, GetSecurityDescriptorControl,                                                               \
           (PSECURITY_DESCRIPTOR descriptor, WORD* control, DWORD* revision))                                          \
    IMPORT(Ntdll, NTSTATUS, RtlGetVersion, (RTL_OSVERSIONINFOW * info))                                                \
    IMPORT(Ntdll, NTSTATUS, NtQuerySystemInformation,                                                                  \
           (DWORD informationClass, void* information, DWORD length, DWORD* returnLength))                             \
    IMPORT(User32, BOOL, EnumDisplayDevicesA, (const char* device, DWORD index, DISPLAY_DEVICEA* info, DWORD flags))   \
    IMPORT(User32, BOOL, ChangeWindowMessageFilter, (UINT message, DWORD flag))                                        \
    IMPORT(User32, BOOL, ChangeWindowMessageFilterEx,                                                                  \
           (HWND window, UINT message, DWORD action, CHANGEFILTERSTRUCT* status))                                      \
    IMPORT(User32, HMONITOR, MonitorFromRect, (const RECT* rect, DWORD flags))                                         \
    IMPORT(User32, BOOL, GetMonitorInfoA, (HMONITOR monitor, MONITORINFO* info))                                       \
    IMPORT(Comctl32, BOOL, InitCommonControlsEx, (const INITCOMMONCONTROLSEX* controls))                               \
    IMPORT(Shell32, HRESULT, SHGetFolderPathA, (HWND owner, int folder, HANDLE token, DWORD flags, char* path))      \
    IMPORT(Shell32, BOOL, Shell_NotifyIconA, (DWORD message, NOTIFYICONDATAA* data))

namespace imports {

#define KESTRAVA_DECLARE_IMPORT(library, result, name, parameters) \
    using name##Proc = result(KAPI*) parameters;                   \
    name##Proc name();
KESTRAVA_RUNTIME_IMPORTS(KESTRAVA_DECLARE_IMPORT)
#undef KESTRAVA_DECLARE_IMPORT

}  // namespace imports

// Forgets every resolved entry and library; called whenever other modules are installed,
// so that each installed platform (a simulated machine, say) is asked afresh. Libraries
// loaded stay loaded.
void ResetRuntimeImports();

}  // namespace platform
