// Rule script parsing: lines, line types, key values and sections.
#include <cstring>

#include "rules/AnsiText.h"
#include "rules/RuleEngine.h"
#include "ui/Dialog.h"

namespace {

enum LineType { kLineError = 0, kLineHeader = 1, kLineIcon = 2, kLineText = 3, kLineComment = 4, kLinePolicy = 5 };

struct KeyWord {
    const char* word;
    LineType type;
};
constexpr KeyWord kKeyWords[] = {
    {"icon", kLineIcon}, {"text", kLineText}, {"comment", kLineComment}, {"policy", kLinePolicy}};

// The line type and, for a key line, the length of its key word.
LineType Classify(const std::string& line, size_t& keyLength) {
    keyLength = 0;
    if (line[0] == '[') return kLineHeader;
    for (const KeyWord& key : kKeyWords) {
        size_t length = std::strlen(key.word);
        if (line.size() >= length && AnsiEqualsNoCase(line.substr(0, length), key.word)) {
            keyLength = length;
            return key.type;
        }
    }
    return kLineError;
}

// The text after the first '=' and the spaces and '=' that follow it.
std::string KeyValue(const std::string& line, size_t keyLength) {
    size_t equals = line.find('=', keyLength);
    if (equals == std::string::npos) return std::string();
    size_t start = line.find_first_not_of(" =", equals);
    return start == std::string::npos ? std::string() : line.substr(start);
}

// The header line without its first and last character.
std::string SectionName(const std::string& line) {
    return line.size() > 2 ? line.substr(1, line.size() - 2) : std::string();
}

}  // namespace

int RuleEngine::Parse(std::string script) {
    lines.clear();
    sections.clear();

    // Every CR and every LF ends a line; the empty line inside a CR LF pair is dropped.
    size_t lineStart = 0;
    for (size_t i = 0; i <= script.size(); ++i) {
        if (i < script.size() && script[i] != '\r' && script[i] != '\n') continue;
        std::string line = TrimSpaces(script.substr(lineStart, i - lineStart));
        lineStart = i + 1;
        if (line.empty() || line[0] == ';') continue;
        lines.push_back(std::move(line));
    }

    RuleSection current;
    bool hasContent = false;
    for (const std::string& line : lines) {
        size_t keyLength = 0;
        switch (Classify(line, keyLength)) {
        case kLineHeader:
            if (hasContent) sections.push_back(std::make_unique<RuleSection>(current));
            current = RuleSection();
            current.name = SectionName(line);
            hasContent = false;
            break;
        case kLineIcon:
            current.icon = KeyValue(line, keyLength);
            hasContent = true;
            break;
        case kLineText:
            current.text = KeyValue(line, keyLength);
            hasContent = true;
            break;
        case kLineComment:
            current.comment = KeyValue(line, keyLength);
            hasContent = true;
            break;
        case kLinePolicy:
            current.policies.push_back(KeyValue(line, keyLength));
            hasContent = true;
            break;
        case kLineError:
            ui::AppMessageBox(("LineType Error : '" + line + "'").c_str(), win::MB_OK);
            break;
        }
    }
    if (hasContent) sections.push_back(std::make_unique<RuleSection>(current));
    return 1;
}
