#include "network/SystemPing.h"

#include "platform/Platform.h"
#include "platform/SystemFolders.h"
#include "platform/WindowsFamily.h"

namespace network {

std::string SystemPingPath() {
    const std::string systemPing = platform::InSystemFolder("ping.exe");
    if (platform::IsNtFamily() || (!systemPing.empty() &&
                          platform::Files().GetFileAttributesA(systemPing.c_str()) != win::INVALID_FILE_ATTRIBUTES)) {
        return systemPing;
    }
    return platform::InWindowsFolder("PING.EXE");
}

}  // namespace network
