#include "restore/SettingsRestore.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "network/NetworkBackup.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "restore/CheckedLines.h"
#include "restore/NetworkBackupReader.h"
#include "restore/SettingsLine.h"
#include "restore/SettingsRecord.h"
#include "restore/TunedKeys.h"
#include "rules/AnsiText.h"

namespace {

constexpr char kRecordExtension[] = ".txt";
constexpr char kBackupExtension[] = ".nbk";
constexpr int kMostNameTries = 100;

// A settings record or a network backup, by the moment its name gives.
struct Source {
    std::array<int, 6> moment{};
    bool record = false;
    std::string path;
    std::string name;
};

std::string BackupFolder(const std::string& stateFolder) { return stateFolder + "\\NetOpti"; }
std::string RestoredFolder(const std::string& stateFolder) { return stateFolder + "\\Restored"; }

// Only a name exactly as the program writes it: the moment, then the extension. The
// numbers stand between the format's texts; the name made again from them must match.
bool ParseMoment(const std::string& name, const char* extension, std::array<int, 6>& moment) {
    const std::string format = kMomentFormat;
    size_t at = 0;
    size_t formatAt = 0;
    for (int& part : moment) {
        const size_t field = format.find("%d", formatAt);
        const std::string before = format.substr(formatAt, field - formatAt);
        if (name.compare(at, before.size(), before) != 0) return false;
        at += before.size();
        const size_t digits = name.find_first_not_of("0123456789", at);
        uint64_t number = 0;
        if (digits == std::string::npos || !ParseNumber(name.substr(at, digits - at), 10, 5, number) ||
            number > 0xFFFF) {
            return false;
        }
        part = static_cast<int>(number);
        at = digits;
        formatAt = field + 2;
    }
    win::SYSTEMTIME time{};
    time.wYear = static_cast<win::WORD>(moment[0]);
    time.wMonth = static_cast<win::WORD>(moment[1]);
    time.wDay = static_cast<win::WORD>(moment[2]);
    time.wHour = static_cast<win::WORD>(moment[3]);
    time.wMinute = static_cast<win::WORD>(moment[4]);
    time.wSecond = static_cast<win::WORD>(moment[5]);
    return AnsiEqualsNoCase(name, MomentName(time) + extension);
}

void FindSources(const std::string& folder, const char* extension, bool record, std::vector<Source>& sources) {
    auto& files = platform::Files();
    win::WIN32_FIND_DATAA found{};
    win::HANDLE search = files.FindFirstFileA((folder + "\\*" + extension).c_str(), &found);
    if (search == win::INVALID_HANDLE_VALUE) return;
    do {
        Source source;
        source.record = record;
        source.name = found.cFileName;
        source.path = folder + "\\" + source.name;
        if ((found.dwFileAttributes & win::FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            ParseMoment(source.name, extension, source.moment)) {
            sources.push_back(source);
        }
    } while (files.FindNextFileA(search, &found));
    files.FindClose(search);
}

// Oldest first; a record before the backup of the same moment, since a boost starts its
// record before its backup.
std::vector<Source> Sources(const std::string& stateFolder) {
    std::vector<Source> sources;
    FindSources(SettingsRecordFolder(stateFolder), kRecordExtension, true, sources);
    FindSources(BackupFolder(stateFolder), kBackupExtension, false, sources);
    std::stable_sort(sources.begin(), sources.end(), [](const Source& a, const Source& b) {
        return std::make_pair(a.moment, !a.record) < std::make_pair(b.moment, !b.record);
    });
    return sources;
}

// The state before the first boost: of every value, its oldest old content.
class OldestSettings {
public:
    OldestSettings(const TunedKeys& tunedKeys, int& skippedLines) : keys(tunedKeys), skipped(skippedLines) {}

    void Read(const Source& source, bool nt) {
        if (!source.record) {
            NetworkBackupContents backup = ReadNetworkBackup(source.path, nt);
            skipped += backup.skipped;
            for (const OldSetting& setting : backup.settings) Take(setting);
            return;
        }
        const TextFileLines file = ReadTextLines(source.path, kSettingsRecordVersionLine);
        if (!file.versionRead || file.lastLineCut) ++skipped;  // a record of another version is not read
        for (const std::string& line : file.lines) {
            OldSetting setting;
            if (ParseSettingsLine(line, setting)) {
                Take(setting);
            } else {
                ++skipped;
            }
        }
    }

    // Puts back the values of one key; a key the first boost created goes again once empty.
    int Restore(const TunedKey& key) const {
        std::vector<const OldSetting*> settings;
        for (const std::string& name : key.valueNames) {
            auto found = oldest.find({key.role, name});
            if (found != oldest.end()) settings.push_back(&found->second);
        }
        if (settings.empty() || key.path.empty()) return 0;
        const bool writes =
            std::any_of(settings.begin(), settings.end(), [](const OldSetting* setting) { return setting->existed; });
        int restored = 0;
        RegistryKey registryKey;
        if (registryKey.Open(win::HKEY_LOCAL_MACHINE, key.path, writes, false)) {
            for (const OldSetting* setting : settings) {
                const bool done = setting->existed
                                      ? registryKey.SetValue(setting->name, setting->data.data(),
                                                             static_cast<win::DWORD>(setting->data.size()),
                                                             setting->type)
                                      : !registryKey.ValueExists(setting->name) ||
                                            registryKey.DeleteValue(setting->name);
                if (done) ++restored;
            }
        }
        registryKey.Close();
        if (createdKeys.count(key.role)) DeleteEmptyKey(win::HKEY_LOCAL_MACHINE, key.path);
        return restored;
    }

private:
    // Only the values a boost writes, under the keys it writes them to.
    void Take(const OldSetting& setting) {
        const TunedKey* key = keys.WithRole(setting.role);
        if (key == nullptr || !key->HoldsValue(setting.name)) {
            ++skipped;
            return;
        }
        if (oldest.emplace(std::make_pair(setting.role, setting.name), setting).second && setting.createdKey) {
            createdKeys.insert(setting.role);
        }
    }

    const TunedKeys& keys;
    int& skipped;
    std::map<std::pair<std::string, std::string>, OldSetting> oldest;
    std::set<std::string> createdKeys;
};

// Moves a used file into the restored folder, under a new name if that one is taken.
void MoveToRestored(const Source& source, const std::string& folder) {
    auto& files = platform::Files();
    const std::string extension = source.record ? kRecordExtension : kBackupExtension;
    const std::string stem = source.name.substr(0, source.name.size() - extension.size());
    std::string target = folder + "\\" + source.name;
    for (int attempt = 2; !files.MoveFileA(source.path.c_str(), target.c_str()) && attempt <= kMostNameTries;
         ++attempt) {
        target = folder + "\\" + stem + " (" + std::to_string(attempt) + ")" + extension;
    }
}

}  // namespace

bool HasSettingsToRestore(const std::string& stateFolder) { return !Sources(stateFolder).empty(); }

SettingsRestoreResult RestoreSettings(const std::string& stateFolder) {
    SettingsRestoreResult result;
    const std::vector<Source> sources = Sources(stateFolder);
    const TunedKeys keys;
    const bool nt = IsWindowsNt();
    OldestSettings oldest(keys, result.skipped);
    for (const Source& source : sources) oldest.Read(source, nt);
    for (const TunedKey& key : keys.All()) result.restored += oldest.Restore(key);

    const std::string restored = RestoredFolder(stateFolder);
    platform::Files().CreateDirectoryA(restored.c_str(), nullptr);
    for (const Source& source : sources) MoveToRestored(source, restored);
    return result;
}
