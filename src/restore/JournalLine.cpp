#include "restore/JournalLine.h"

#include <cstdio>

namespace {

struct Kind {
    const char* word;
    size_t valueCount;
};
constexpr Kind kKinds[] = {{"owner", 0}, {"record", 3}, {"window", 2}};
constexpr size_t kStartDigits = 16;

uint32_t Check(const std::string& body) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : body) hash = (hash ^ c) * 16777619u;
    return hash;
}

std::string Hex(uint64_t value, int width = 0) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llx", width, static_cast<unsigned long long>(value));
    return text;
}

std::string Line(const char* kind, const ProcessIdentity& process, const std::vector<uint64_t>& values) {
    std::string body = std::string(kind) + " " + std::to_string(process.processId) + " " +
                       Hex(process.creationTime, kStartDigits);
    for (uint64_t value : values) body += " " + Hex(value);
    body += " " + process.name;
    return body + " #" + Hex(Check(body), 8);
}

// Lower-case digits only, as written, so every line has one spelling; 16 for any other character.
int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 16;
}

// The whole token as a number of at most maxDigits digits.
bool ParseNumber(const std::string& token, int base, size_t maxDigits, uint64_t& value) {
    if (token.empty() || token.size() > maxDigits) return false;
    value = 0;
    for (char c : token) {
        int digit = DigitValue(c);
        if (digit >= base) return false;
        value = value * base + digit;
    }
    return true;
}

// The next blank-separated token from at; false when there is none or it is empty.
bool NextToken(const std::string& text, size_t& at, std::string& token) {
    size_t blank = text.find(' ', at);
    if (blank == std::string::npos || blank == at) return false;
    token = text.substr(at, blank - at);
    at = blank + 1;
    return true;
}

}  // namespace

std::string OwnerLine(const ProcessIdentity& owner) { return Line("owner", owner, {}); }

std::string RecordLine(const ProcessIdentity& process, const RestoreRecord& record) {
    return Line("record", process, {record.restoreFlags, record.previousPriorityClass, record.previousAffinityMask});
}

std::string WindowLine(const ProcessIdentity& process, win::HWND window, win::WORD wasVisible) {
    return Line("window", process, {reinterpret_cast<uintptr_t>(window), wasVisible ? 1u : 0u});
}

bool ParseJournalLine(const std::string& text, JournalLine& line) {
    size_t mark = text.rfind(" #");
    uint64_t check = 0;
    if (mark == std::string::npos || text.size() - mark != 10 || !ParseNumber(text.substr(mark + 2), 16, 8, check)) {
        return false;
    }
    const std::string body = text.substr(0, mark);
    if (Check(body) != check) return false;

    size_t at = 0;
    std::string token;
    if (!NextToken(body, at, token)) return false;
    const Kind* kind = nullptr;
    for (const Kind& known : kKinds) {
        if (token == known.word) kind = &known;
    }
    if (kind == nullptr) return false;
    line.kind = token;

    uint64_t number = 0;
    if (!NextToken(body, at, token) || !ParseNumber(token, 10, 10, number) || number > 0xFFFFFFFFu) return false;
    line.process.processId = static_cast<win::DWORD>(number);
    if (!NextToken(body, at, token) || token.size() != kStartDigits ||
        !ParseNumber(token, 16, kStartDigits, line.process.creationTime)) {
        return false;
    }
    line.values.clear();
    for (size_t i = 0; i < kind->valueCount; ++i) {
        if (!NextToken(body, at, token) || !ParseNumber(token, 16, 16, number)) return false;
        line.values.push_back(number);
    }
    line.process.name = body.substr(at);
    return !line.process.name.empty();
}

bool RecordFromLine(const JournalLine& line, RestoreRecord& record) {
    if (line.kind != "record") return false;
    for (uint64_t value : line.values) {
        if (value > 0xFFFFFFFFu) return false;
    }
    record.processId = line.process.processId;
    record.restoreFlags = static_cast<win::DWORD>(line.values[0]);
    record.previousPriorityClass = static_cast<win::DWORD>(line.values[1]);
    record.previousAffinityMask = static_cast<win::DWORD>(line.values[2]);
    return true;
}

bool WindowFromLine(const JournalLine& line, win::HWND& window, win::WORD& wasVisible) {
    if (line.kind != "window" || line.values[1] > 1 || line.values[0] > UINTPTR_MAX) return false;
    window = reinterpret_cast<win::HWND>(static_cast<uintptr_t>(line.values[0]));
    wasVisible = static_cast<win::WORD>(line.values[1]);
    return true;
}
