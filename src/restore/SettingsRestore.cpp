// stub
#include "restore/SettingsRestore.h"

#include "platform/Platform.h"

namespace {

bool IsFolder(const std::string& path) {
    win::DWORD attributes = platform::Files().GetFileAttributesA(path.c_str());
    return attributes != win::INVALID_FILE_ATTRIBUTES && (attributes & win::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool HasSettingsToRestore(const std::string& exeFolder) {
    return IsFolder(exeFolder + "\\Restore\\NetOpti") || IsFolder(exeFolder + "\\Restore\\Settings");
}

SettingsRestoreResult RestoreSettings(const std::string&) { return {}; }
