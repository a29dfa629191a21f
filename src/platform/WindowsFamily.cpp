#include "platform/WindowsFamily.h"

#include "platform/Platform.h"

namespace platform {
namespace {

// The extended structure first; systems before NT 4 SP6 and 98 know only the plain one.
bool ReadVersion(OSVERSIONINFOEXA& info) {
    auto& system = SystemInfo();
    info = OSVERSIONINFOEXA{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (system.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return true;
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return system.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != FALSE;
}

}  // namespace

bool IsNtFamily() {
    OSVERSIONINFOEXA info;
    if (!ReadVersion(info)) return true;
    return info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS;
}

bool ShellHasBalloons() {
    OSVERSIONINFOEXA info;
    if (!ReadVersion(info)) return true;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return info.dwMinorVersion >= 90;
    return info.dwMajorVersion >= 5;
}

}  // namespace platform
