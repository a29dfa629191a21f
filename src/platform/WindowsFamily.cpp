#include "platform/WindowsFamily.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

namespace platform {

bool IsNtFamily() {
    // The kernel's own answer where it gives one (Windows 2000 and later): a compatibility
    // layer rewrites what GetVersionExA reports, not this.
    if (auto kernelVersion = imports::RtlGetVersion()) {
        RTL_OSVERSIONINFOW kernel{};
        kernel.dwOSVersionInfoSize = sizeof(RTL_OSVERSIONINFOW);
        if (kernelVersion(&kernel) == 0) return kernel.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS;
    }
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
