// The backup of the TCP/IP values: two lines per value (its name, then its old
// content or "Default"), appended to a file named after the moment of the run.
#include <cstdio>

#include "network/NetworkBackup.h"
#include "network/NetworkTuner.h"
#include "platform/Platform.h"
#include "platform/ScopedStream.h"
#include "registry/RegistryKey.h"

namespace network {

bool AppendNetworkBackup(const std::string& path, const std::string& text) {
    if (path.empty()) return false;  // no usable folder: no backup
    auto& files = platform::Files();
    const platform::ScopedStream stream(files.fopen(path.c_str(), "at"));
    if (!stream) return false;
    files.fputs(text.c_str(), stream.Get());
    return true;
}

}  // namespace network

// A value that cannot be read gets no lines: "Default" would make a restore delete it.
void NetworkTuner::RecordOldValue(RegistryKey& key, const char* name, OldValue kind) {
    const ValuePresence presence = key.Presence(name);
    if (presence == ValuePresence::Unreadable) return;
    tcpBackupText += name;
    tcpBackupText += "\n";
    if (presence == ValuePresence::Missing) {
        tcpBackupText += "Default\n";
        return;
    }
    std::string old;
    if (kind == OldValue::Dword) {
        win::DWORD value = 0;
        key.QueryDword(name, value);
        char number[16];
        std::snprintf(number, sizeof number, "%d", static_cast<int>(value));
        old = number;
    } else {
        key.QueryString(name, old, false);
    }
    tcpBackupText += old + "\n";
}

std::string MomentName(const win::SYSTEMTIME& moment) {
    char name[64];
    std::snprintf(name, sizeof name, kMomentFormat, moment.wYear, moment.wMonth, moment.wDay, moment.wHour,
                  moment.wMinute, moment.wSecond);
    return name;
}

std::string MakeNetworkBackupPath(const std::string& stateFolder) {
    auto& files = platform::Files();
    win::SYSTEMTIME now{};
    files.GetLocalTime(&now);
    const std::string folder = stateFolder + "\\NetOpti";
    files.CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + MomentName(now) + ".nbk";
}
