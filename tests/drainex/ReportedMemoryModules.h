// The system's modules with GlobalMemoryStatusEx answering for a machine of a chosen
// size, so that a release under Wine claims a known amount instead of most of the
// machine it runs on.
#pragma once

#include <cstring>

#include "platform/win32/Win32.h"

class ReportedMemoryModules : public platform::IModules {
public:
    ReportedMemoryModules(platform::IModules& system, win::DWORDLONG totalBytes) : system_(system) {
        reportedTotal = totalBytes;
    }
    win::HMODULE LoadLibraryA(const char* name) override { return system_.LoadLibraryA(name); }
    win::HMODULE GetModuleHandleA(const char* name) override { return system_.GetModuleHandleA(name); }
    win::FARPROC GetProcAddress(win::HMODULE module, const char* name) override {
        if (!IS_INTRESOURCE(name) && std::strcmp(name, "GlobalMemoryStatusEx") == 0) {
            return win::ProcCast<win::FARPROC>(&ReportedStatus);
        }
        return system_.GetProcAddress(module, name);
    }
    win::BOOL FreeLibrary(win::HMODULE module) override { return system_.FreeLibrary(module); }

private:
    static win::BOOL KAPI ReportedStatus(win::MEMORYSTATUSEX* status) {
        status->dwMemoryLoad = 40;
        status->ullTotalPhys = reportedTotal;
        status->ullAvailPhys = reportedTotal / 2;
        return TRUE;
    }

    static inline win::DWORDLONG reportedTotal = 0;
    platform::IModules& system_;
};
