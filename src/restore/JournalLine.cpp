#include "restore/JournalLine.h"

#include "restore/CheckedLines.h"
#include "rules/RuleEngine.h"

namespace {

struct Kind {
    const char* word;
    size_t valueCount;
};
constexpr Kind kKinds[] = {{"owner", 0}, {"record", 3}, {"window", 2}};
constexpr size_t kStartDigits = 16;
constexpr win::DWORD kRecordedFlags = kCommandPriority | kCommandCpuMask | kCommandResume;

std::string Line(const char* kind, const ProcessIdentity& process, const std::vector<uint64_t>& values) {
    std::string body = std::string(kind) + " " + std::to_string(process.processId) + " " +
                       Hex(process.creationTime, kStartDigits);
    for (uint64_t value : values) body += " " + Hex(value);
    body += " " + process.name;
    return CheckedLine(body);
}

}  // namespace

std::string OwnerLine(const ProcessIdentity& owner) { return Line("owner", owner, {}); }

// A flag whose value could not be read (the process could not be opened: class 0, mask 0)
// is left out with its value, since the undo could not use it; the reader refuses such lines.
std::string RecordLine(const ProcessIdentity& process, const RestoreRecord& record) {
    win::DWORD flags = record.restoreFlags & kRecordedFlags;
    win::DWORD priorityClass = record.previousPriorityClass;
    win::DWORD mask = record.previousAffinityMask;
    if (!(flags & kCommandPriority) || !IsPriorityClass(priorityClass)) {
        flags &= ~kCommandPriority;
        priorityClass = 0;
    }
    if (!(flags & kCommandCpuMask) || mask == 0) {
        flags &= ~kCommandCpuMask;
        mask = 0;
    }
    return Line("record", process, {flags, priorityClass, mask});
}

std::string WindowLine(const ProcessIdentity& process, win::HWND window, win::WORD wasVisible) {
    return Line("window", process, {reinterpret_cast<uintptr_t>(window), wasVisible ? 1u : 0u});
}

bool ParseJournalLine(const std::string& text, JournalLine& line) {
    std::string body;
    if (!CheckedBody(text, body)) return false;

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
    const auto flags = static_cast<win::DWORD>(line.values[0]);
    const auto priorityClass = static_cast<win::DWORD>(line.values[1]);
    const auto mask = static_cast<win::DWORD>(line.values[2]);
    // Only what a boost writes: its three flags, and a real class and a mask exactly
    // where their flags stand.
    if ((flags & ~kRecordedFlags) != 0) return false;
    if ((flags & kCommandPriority) ? !IsPriorityClass(priorityClass) : priorityClass != 0) return false;
    if ((flags & kCommandCpuMask) ? mask == 0 : mask != 0) return false;
    record.processId = line.process.processId;
    record.restoreFlags = flags;
    record.previousPriorityClass = priorityClass;
    record.previousAffinityMask = mask;
    return true;
}

bool WindowFromLine(const JournalLine& line, win::HWND& window, win::WORD& wasVisible) {
    if (line.kind != "window" || line.values[1] > 1 || line.values[0] > UINTPTR_MAX) return false;
    window = reinterpret_cast<win::HWND>(static_cast<uintptr_t>(line.values[0]));
    wasVisible = static_cast<win::WORD>(line.values[1]);
    return true;
}
