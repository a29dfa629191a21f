#include "restore/SettingsRecord.h"

#include "network/NetworkBackup.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "restore/CheckedLines.h"
#include "restore/SettingsLine.h"

std::string SettingsRecordFolder(const std::string& stateFolder) { return stateFolder + "\\Settings"; }

std::string SettingsRecordPath(const std::string& stateFolder) {
    win::SYSTEMTIME now{};
    platform::Files().GetLocalTime(&now);
    return SettingsRecordFolder(stateFolder) + "\\" + MomentName(now) + ".txt";
}

void SettingsRecord::Start(const std::string& recordPath) {
    path = recordPath;
    keys = recordPath.empty() ? nullptr : std::make_unique<TunedKeys>();
}

void SettingsRecord::BeforeOverwrite(RegistryKey& key, const std::string& name) {
    if (!keys || !key.IsOpen() || key.Root() != win::HKEY_LOCAL_MACHINE) return;
    const TunedKey* tuned = keys->WithPath(key.Path());
    if (tuned == nullptr || !tuned->HoldsValue(name)) return;
    OldSetting old;
    old.role = tuned->role;
    old.name = name;
    old.createdKey = key.CreatedKey();
    // A value that cannot be read gets no line: recorded as absent, a restore would delete it.
    const ValuePresence presence = key.Presence(name);
    if (presence == ValuePresence::Unreadable) return;
    old.existed = presence == ValuePresence::Present;
    if (old.existed && !key.QueryValue(name, old.type, old.data)) return;
    auto& files = platform::Files();
    std::string text = SettingsLine(old) + "\n";
    if (files.GetFileAttributesA(path.c_str()) == win::INVALID_FILE_ATTRIBUTES) {
        const std::string folder = path.substr(0, path.rfind('\\'));
        files.CreateDirectoryA(folder.c_str(), nullptr);
        text = std::string(kSettingsRecordVersionLine) + "\n" + text;
    }
    WriteText(path, "at", text);
}
