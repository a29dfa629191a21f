#include "restore/NetworkBackupReader.h"

#include <cstring>
#include <iterator>

#include "network/TcpKeys.h"
#include "restore/CheckedLines.h"
#include "restore/TunedKeys.h"

namespace {

// Longer old strings are no content a boost of this program backed up.
constexpr size_t kMostTextBytes = 1024;

struct BackedUpValue {
    std::string name;
    std::string role;
    win::DWORD type;
};

std::vector<BackedUpValue> TableOf(bool nt) {
    std::vector<BackedUpValue> table;
    if (nt) {
        for (const char* name : kNtTcpValues) table.push_back({name, kNtTcpRole, win::REG_DWORD});
        return table;
    }
    for (const char* name : kMstcpValues) table.push_back({name, kMstcpRole, win::REG_SZ});
    for (const char* name : kMstcpParametersValues) {
        const bool dword = std::string(name) == "MaxDupAcks";
        table.push_back({name, kMstcpParametersRole, dword ? win::REG_DWORD : win::REG_SZ});
    }
    // The backup holds adapter 0001's MaxMTU only.
    table.push_back({kNetTransAdapterValue, AdapterRole(1), win::REG_SZ});
    return table;
}

// Signed decimal as "%d" writes it, within 32 bits.
bool ParseSignedDecimal(const std::string& text, win::DWORD& value) {
    const bool negative = !text.empty() && text[0] == '-';
    uint64_t magnitude = 0;
    if (!ParseNumber(text.substr(negative ? 1 : 0), 10, 10, magnitude)) return false;
    if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
    value = static_cast<win::DWORD>(negative ? 0 - magnitude : magnitude);
    return true;
}

bool ContentOf(const BackedUpValue& value, const std::string& text, OldSetting& setting) {
    setting = OldSetting{};
    setting.role = value.role;
    setting.name = value.name;
    if (text == "Default") return true;
    setting.existed = true;
    setting.type = value.type;
    if (value.type == win::REG_DWORD) {
        win::DWORD number = 0;
        if (!ParseSignedDecimal(text, number)) return false;
        setting.data.resize(sizeof number);
        std::memcpy(setting.data.data(), &number, sizeof number);
        return true;
    }
    if (text.size() > kMostTextBytes) return false;
    setting.data.assign(text.begin(), text.end());
    return true;
}

}  // namespace

NetworkBackupContents ReadNetworkBackup(const std::string& path, bool nt) {
    NetworkBackupContents contents;
    const std::vector<BackedUpValue> table = TableOf(nt);
    const TextFileLines file = ReadTextLines(path, nullptr);
    const std::vector<std::string>& lines = file.lines;
    if (file.lastLineCut) ++contents.skipped;
    size_t at = 0;
    while (at < lines.size()) {
        const BackedUpValue* value = nullptr;
        for (const BackedUpValue& known : table) {
            if (lines[at] == known.name) value = &known;
        }
        OldSetting setting;
        // A line that is no known name, or whose content does not read, is skipped on its
        // own, so that the next pair is found again.
        if (value == nullptr || at + 1 >= lines.size() || !ContentOf(*value, lines[at + 1], setting)) {
            ++contents.skipped;
            ++at;
            continue;
        }
        contents.settings.push_back(setting);
        at += 2;
    }
    return contents;
}
