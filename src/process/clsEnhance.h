// Operations on one running process or one service at a time. A short-lived value:
// it keeps no state about processes.
#pragma once

#include "platform/Kernel.h"
#include "platform/Services.h"
#include "process/ThreadSnapshot.h"
#include "process/WindowSnapshot.h"
#include "process/WindowStateList.h"

class clsEnhance {
public:
    clsEnhance();
    virtual ~clsEnhance();

    // Each thread of the process once; true if at least one thread was reached.
    // Refused for the program's own process. Given a thread snapshot, the calls share it;
    // a thread whose identifier another process's thread has taken since is left alone.
    bool SuspendProcess(win::DWORD processId);
    bool ResumeProcess(win::DWORD processId);
    bool SuspendProcess(win::DWORD processId, ThreadSnapshot& threads);
    bool ResumeProcess(win::DWORD processId, ThreadSnapshot& threads);
    // Idle class for low, real-time class for high; the previous class, 0 if the
    // process cannot be opened.
    win::DWORD SetProcessPriorityToLow(win::DWORD processId);
    win::DWORD SetProcessPriorityToHigh(win::DWORD processId);
    bool RestoreProcessPriority(win::DWORD processId, win::DWORD priorityClass);
    // previousMask receives the mask the process had (0 if that query failed); it is
    // left alone when the process cannot be opened.
    bool SetProcessAffinity(win::DWORD processId, win::DWORD mask, win::DWORD& previousMask);
    // Trims the whole working set of the process.
    bool SwapoutProcessMemory(win::DWORD processId);
    // Exit code 0; refused for the program's own process.
    bool TerminateProcess(win::DWORD processId);
    // Record (in states) and hide or show every top-level window of the process;
    // the result of EnumWindows. Given a window snapshot, the calls share it; a window
    // that another process's window has taken the handle of since is left alone.
    win::BOOL HideProcessWindow(win::DWORD processId, WindowStateList& states);
    win::BOOL ShowProcessWindow(win::DWORD processId, WindowStateList& states);
    win::BOOL HideProcessWindow(win::DWORD processId, WindowStateList& states, WindowSnapshot& windows);
    win::BOOL ShowProcessWindow(win::DWORD processId, WindowStateList& states, WindowSnapshot& windows);

    // True unless GetVersionExA reports the 9x family (a failed query counts as NT).
    static bool IsNotWindows9x();
    // The 9x family's thread opener: enters kernel32's OpenProcess with the thread's
    // object address. Only in the 32-bit Windows build; null elsewhere and on NT.
    win::HANDLE OpenThreadLegacy(win::DWORD access, win::BOOL inherit, win::DWORD threadId);

    // ControlService(SERVICE_CONTROL_STOP); does not wait for the service to stop.
    bool SendServiceStop(const char* serviceName);
    // NT family only; previousStartType receives the start type before the change.
    bool SetServiceStartType(const char* serviceName, win::DWORD startType, win::DWORD& previousStartType);
    // Sends the stop control, then disables the service.
    void StopService(const char* serviceName);
    // Sets the service to start automatically with the next system start.
    void StartService(const char* serviceName);

    // 0 on the NT family; on the 9x family it maps an identifier to its object address by XOR.
    win::DWORD ProcessIdObfuscator = 0;

private:
    bool ChangeThreads(win::DWORD processId, bool suspend, ThreadSnapshot& threads);
    win::DWORD ChangePriority(win::DWORD processId, win::DWORD priorityClass);
    win::BOOL ChangeWindows(win::DWORD processId, WindowStateList& states, int showCommand, WindowSnapshot& windows);
};
