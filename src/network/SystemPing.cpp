#include "network/SystemPing.h"

#include "platform/Platform.h"
#include "platform/WindowsFamily.h"

namespace network {
namespace {

using FolderQuery = win::UINT (platform::ISystemInfo::*)(char*, win::UINT);

// The folder's path followed by name; empty when the folder cannot be read.
std::string InFolder(FolderQuery query, const char* name) {
    char folder[win::MAX_PATH] = {};
    const win::UINT length = (platform::SystemInfo().*query)(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::string();
    return std::string(folder, length) + name;
}

}  // namespace

std::string SystemPingPath() {
    const std::string systemPing = InFolder(&platform::ISystemInfo::GetSystemDirectoryA, "\\ping.exe");
    if (platform::IsNtFamily() || (!systemPing.empty() &&
                          platform::Files().GetFileAttributesA(systemPing.c_str()) != win::INVALID_FILE_ATTRIBUTES)) {
        return systemPing;
    }
    return InFolder(&platform::ISystemInfo::GetWindowsDirectoryA, "\\PING.EXE");
}

}  // namespace network
