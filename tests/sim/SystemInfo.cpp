#include "sim/SystemInfo.h"

#include <bitset>
#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

UINT CopyPath(const char* path, char* buffer, UINT size) {
    const UINT length = static_cast<UINT>(std::strlen(path));
    if (length >= size) return length + 1;
    std::memcpy(buffer, path, length + 1);
    return length;
}

NTSTATUS KAPI RtlGetVersionEntry(RTL_OSVERSIONINFOW* info) { return Machine::Current().systemInfo.RtlGetVersion(info); }

constexpr char kNtdll[] = "ntdll.dll";
constexpr char kRtlGetVersion[] = "RtlGetVersion";
constexpr NTSTATUS kInvalidParameter = static_cast<NTSTATUS>(0xC000000D);

}  // namespace

SystemInfo::SystemInfo(Machine& machine) : machine_(machine) {
    machine.modules.AddModule(kNtdll);
    UseWindowsNt();
    platform::Current().systemInfo = this;
}

SystemInfo::~SystemInfo() { platform::Current().systemInfo = nullptr; }

void SystemInfo::UseWindows9x() {
    machine_.modules.RemoveExport(kNtdll, kRtlGetVersion);
    std::lock_guard<std::mutex> lock(mutex_);
    platformId_ = VER_PLATFORM_WIN32_WINDOWS;
    major_ = 4;
    minor_ = 10;
}

void SystemInfo::UseWindowsNt() {
    machine_.modules.Export(kNtdll, kRtlGetVersion, ProcCast<FARPROC>(&RtlGetVersionEntry));
    std::lock_guard<std::mutex> lock(mutex_);
    platformId_ = VER_PLATFORM_WIN32_NT;
    major_ = 5;
    minor_ = 1;
}

void SystemInfo::SetPlatformId(DWORD platformId) {
    std::lock_guard<std::mutex> lock(mutex_);
    platformId_ = platformId;
}

void SystemInfo::SetVersion(DWORD major, DWORD minor) {
    std::lock_guard<std::mutex> lock(mutex_);
    major_ = major;
    minor_ = minor;
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
    info->dwMajorVersion = windows9xLayer_ ? 4 : major_;
    info->dwMinorVersion = windows9xLayer_ ? 10 : minor_;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = windows9xLayer_ ? VER_PLATFORM_WIN32_WINDOWS : platformId_;
    return TRUE;
}

NTSTATUS SystemInfo::RtlGetVersion(RTL_OSVERSIONINFOW* info) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (info->dwOSVersionInfoSize != sizeof(RTL_OSVERSIONINFOW)) return kInvalidParameter;
    *info = RTL_OSVERSIONINFOW{sizeof(RTL_OSVERSIONINFOW), major_, minor_, 2600, platformId_, {}};
    return 0;
}

void SystemInfo::GetSystemInfo(SYSTEM_INFO* info) {
    std::lock_guard<std::mutex> lock(mutex_);
    info->dwPageSize = 4096;
    info->dwActiveProcessorMask = activeMask_;
    info->dwNumberOfProcessors = static_cast<DWORD>(std::bitset<64>(activeMask_).count());
    info->dwAllocationGranularity = 65536;
}

UINT SystemInfo::GetSystemDirectoryA(char* buffer, UINT size) {
    std::lock_guard<std::mutex> lock(mutex_);
    return CopyPath(platformId_ == VER_PLATFORM_WIN32_WINDOWS ? "C:\\WINDOWS\\SYSTEM" : "C:\\WINDOWS\\system32", buffer,
                    size);
}

UINT SystemInfo::GetWindowsDirectoryA(char* buffer, UINT size) { return CopyPath("C:\\WINDOWS", buffer, size); }

}  // namespace sim
