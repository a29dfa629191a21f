#include "restore/SettingsLine.h"

#include "restore/CheckedLines.h"

namespace {

// Far more than any value a boost overwrites.
constexpr size_t kMostDataBytes = 64 * 1024;

bool IsValueName(const std::string& token) {
    for (char c : token) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_' && c != '-') return false;
    }
    return !token.empty();
}

bool ParseFlag(const std::string& token, bool& flag) {
    if (token != "0" && token != "1") return false;
    flag = token == "1";
    return true;
}

bool ParseData(const std::string& token, std::vector<win::BYTE>& data) {
    data.clear();
    if (token == "-") return true;
    if (token.size() % 2 != 0 || token.size() > 2 * kMostDataBytes) return false;
    for (size_t i = 0; i < token.size(); i += 2) {
        uint64_t byte = 0;
        if (!ParseNumber(token.substr(i, 2), 16, 2, byte)) return false;
        data.push_back(static_cast<win::BYTE>(byte));
    }
    return true;
}

}  // namespace

std::string SettingsLine(const OldSetting& setting) {
    std::string body = std::string(setting.existed ? "value" : "absent") + " " + setting.role + " " + setting.name +
                       " " + (setting.createdKey ? "1" : "0");
    if (setting.existed) {
        body += " " + Hex(setting.type) + " ";
        for (win::BYTE byte : setting.data) body += Hex(byte, 2);
        if (setting.data.empty()) body += "-";
    }
    return CheckedLine(body);
}

bool ParseSettingsLine(const std::string& text, OldSetting& setting) {
    std::string body;
    if (!CheckedBody(text, body)) return false;
    body += " ";  // so that every token, the last too, ends in a blank
    size_t at = 0;
    std::string kind, created, type, data;
    if (!NextToken(body, at, kind) || (kind != "value" && kind != "absent")) return false;
    setting = OldSetting{};
    setting.existed = kind == "value";
    if (!NextToken(body, at, setting.role) || !IsValueName(setting.role)) return false;
    if (!NextToken(body, at, setting.name) || !IsValueName(setting.name)) return false;
    if (!NextToken(body, at, created) || !ParseFlag(created, setting.createdKey)) return false;
    if (setting.existed) {
        uint64_t number = 0;
        if (!NextToken(body, at, type) || !ParseNumber(type, 16, 8, number)) return false;
        setting.type = static_cast<win::DWORD>(number);
        if (!NextToken(body, at, data) || !ParseData(data, setting.data)) return false;
    }
    return at == body.size();
}
