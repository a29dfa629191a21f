// Version and processor information of the simulated machine.
#pragma once

#include <mutex>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

class Machine;

class SystemInfo : public platform::ISystemInfo {
public:
    explicit SystemInfo(Machine& machine);
    ~SystemInfo() override;

    // An NT-family machine (Windows XP) by default, whose ntdll.dll exports RtlGetVersion;
    // a 9x machine has none.
    void UseWindows9x();
    void UseWindowsNt();
    void SetPlatformId(DWORD platformId);
    void SetVersion(DWORD major, DWORD minor);
    // A Windows 95 or 98 compatibility layer: GetVersionExA reports that system, the
    // kernel's RtlGetVersion still the true one.
    void UseWindows9xLayer() { std::lock_guard<std::mutex> lock(mutex_); windows9xLayer_ = true; }
    // Makes GetVersionExA fail for OSVERSIONINFOEXA (156 bytes) or for every size.
    void FailVersionEx(bool fail) { std::lock_guard<std::mutex> lock(mutex_); failVersionEx_ = fail; }
    void FailVersion(bool fail) { std::lock_guard<std::mutex> lock(mutex_); failVersion_ = fail; }
    void SetActiveProcessorMask(DWORD_PTR mask);
    DWORD PlatformId() { std::lock_guard<std::mutex> lock(mutex_); return platformId_; }

    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    // Exported from ntdll.dll.
    NTSTATUS RtlGetVersion(RTL_OSVERSIONINFOW* info);
    void GetSystemInfo(SYSTEM_INFO* info) override;
    // C:\WINDOWS\system32 on the NT family, C:\WINDOWS\SYSTEM on the 9x family.
    UINT GetSystemDirectoryA(char* buffer, UINT size) override;
    // C:\WINDOWS on both families.
    UINT GetWindowsDirectoryA(char* buffer, UINT size) override;

private:
    Machine& machine_;
    std::mutex mutex_;
    DWORD platformId_ = VER_PLATFORM_WIN32_NT;
    DWORD major_ = 5;
    DWORD minor_ = 1;
    bool failVersionEx_ = false;
    bool failVersion_ = false;
    bool windows9xLayer_ = false;
    DWORD_PTR activeMask_ = 0xF;
};

}  // namespace sim
