#include "platform/sim/SystemInfo.h"

#include <bitset>
#include <cstring>

#include "platform/Platform.h"

namespace sim {

SystemInfo::SystemInfo(Machine&) { platform::Current().systemInfo = this; }

SystemInfo::~SystemInfo() { platform::Current().systemInfo = nullptr; }

void SystemInfo::UseWindows9x() {
    std::lock_guard<std::mutex> lock(mutex_);
    platformId_ = VER_PLATFORM_WIN32_WINDOWS;
    major_ = 4;
    minor_ = 10;
}

void SystemInfo::UseWindowsNt() {
    std::lock_guard<std::mutex> lock(mutex_);
    platformId_ = VER_PLATFORM_WIN32_NT;
    major_ = 5;
    minor_ = 1;
}

void SystemInfo::SetPlatformId(DWORD platformId) {
    std::lock_guard<std::mutex> lock(mutex_);
    platformId_ = platformId;
}

void SystemInfo::SetActiveProcessorMask(DWORD_PTR mask) {
    std::lock_guard<std::mutex> lock(mutex_);
    activeMask_ = mask;
}

BOOL SystemInfo::GetVersionExA(OSVERSIONINFOA* info) {
    std::lock_guard<std::mutex> lock(mutex_);
    DWORD size = info->dwOSVersionInfoSize;
    bool extended = size == sizeof(OSVERSIONINFOEXA);
    if (failVersion_ || (extended && failVersionEx_) || (!extended && size != sizeof(OSVERSIONINFOA))) {
        platform::Handles().SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memset(reinterpret_cast<BYTE*>(info) + sizeof(DWORD), 0, size - sizeof(DWORD));
    info->dwMajorVersion = major_;
    info->dwMinorVersion = minor_;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = platformId_;
    return TRUE;
}

void SystemInfo::GetSystemInfo(SYSTEM_INFO* info) {
    std::lock_guard<std::mutex> lock(mutex_);
    info->dwPageSize = 4096;
    info->dwActiveProcessorMask = activeMask_;
    info->dwNumberOfProcessors = static_cast<DWORD>(std::bitset<64>(activeMask_).count());
    info->dwAllocationGranularity = 65536;
}

}  // namespace sim
