#include "platform/WindowsFamily.h"

#include "platform/Platform.h"

namespace platform {

bool IsNtFamily() {
    auto& system = SystemInfo();
    // The extended structure first; systems before NT 4 SP6 and 98 know only the plain one.
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!system.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!system.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return true;
    }
    return info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace platform
