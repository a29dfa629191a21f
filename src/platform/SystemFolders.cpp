#include "platform/SystemFolders.h"

#include "platform/Platform.h"

namespace platform {
namespace {

using FolderQuery = win::UINT (ISystemInfo::*)(char*, win::UINT);

std::string InFolder(FolderQuery query, const char* name) {
    char folder[win::MAX_PATH] = {};
    const win::UINT length = (SystemInfo().*query)(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::string();
    return std::string(folder, length) + "\\" + name;
}

}  // namespace

std::string InSystemFolder(const char* name) { return InFolder(&ISystemInfo::GetSystemDirectoryA, name); }

std::string InWindowsFolder(const char* name) { return InFolder(&ISystemInfo::GetWindowsDirectoryA, name); }

}  // namespace platform
