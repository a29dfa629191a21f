#include "platform/WindowsFamily.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

namespace platform {
namespace {

struct Version {
    DWORD major;
    DWORD minor;
    DWORD platformId;
};

// The kernel's own answer where it gives one (Windows 2000 and later): a compatibility
// layer rewrites what GetVersionExA reports, not this. Then the extended structure;
// systems before NT 4 SP6 and 98 know only the plain one.
bool ReadVersion(Version& version) {
    if (auto kernelVersion = imports::RtlGetVersion()) {
        RTL_OSVERSIONINFOW kernel{};
        kernel.dwOSVersionInfoSize = sizeof(RTL_OSVERSIONINFOW);
        if (kernelVersion(&kernel) == 0) {
            version = Version{kernel.dwMajorVersion, kernel.dwMinorVersion, kernel.dwPlatformId};
            return true;
        }
    }
    auto& system = SystemInfo();
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!system.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!system.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    }
    version = Version{info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
    return true;
}

}  // namespace

bool IsNtFamily() {
    Version version;
    return !ReadVersion(version) || version.platformId != VER_PLATFORM_WIN32_WINDOWS;
}

bool IsVistaOrLater() {
    Version version;
    return !ReadVersion(version) || (version.platformId != VER_PLATFORM_WIN32_WINDOWS && version.major >= 6);
}

bool ShellHasBalloons() {
    Version version;
    if (!ReadVersion(version)) return true;
    if (version.platformId == VER_PLATFORM_WIN32_WINDOWS) return version.minor >= 90;
    return version.major >= 5;
}

}  // namespace platform
