#include "restore/CheckedLines.h"

#include <cstdio>

#include "platform/Platform.h"
#include "platform/ScopedStream.h"

namespace {

constexpr size_t kCheckDigits = 8;
// Far more than any of these files holds; the rest is not read.
constexpr size_t kMostBytes = 1 << 20;

uint32_t Check(const std::string& body) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : body) hash = (hash ^ c) * 16777619u;
    return hash;
}

// Lower-case digits only, as written, so every line has one spelling; 16 for any other character.
int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 16;
}

// The file's first bytes, up to kMostBytes; false when it cannot be opened.
bool ReadBytes(const std::string& path, std::string& bytes) {
    platform::IFiles& files = platform::Files();
    const platform::ScopedStream file(files.fopen(path.c_str(), "rb"));
    if (!file) return false;
    char block[4096];
    size_t read = 0;
    while (bytes.size() < kMostBytes && (read = files.fread(block, 1, sizeof block, file.Get())) > 0) {
        bytes.append(block, read);
    }
    return true;
}

}  // namespace

std::string CheckedLine(const std::string& body) { return body + " #" + Hex(Check(body), kCheckDigits); }

bool CheckedBody(const std::string& line, std::string& body) {
    const size_t mark = line.rfind(" #");
    uint64_t check = 0;
    if (mark == std::string::npos || line.size() - mark != kCheckDigits + 2 ||
        !ParseNumber(line.substr(mark + 2), 16, kCheckDigits, check)) {
        return false;
    }
    body = line.substr(0, mark);
    return Check(body) == check;
}

bool WriteText(const std::string& path, const char* mode, const std::string& text) {
    platform::IFiles& files = platform::Files();
    platform::ScopedStream file(files.fopen(path.c_str(), mode));
    if (!file) return false;
    const bool written = files.fputs(text.c_str(), file.Get()) >= 0;
    return file.Close() == 0 && written;
}

TextFileLines ReadTextLines(const std::string& path, const char* versionLine) {
    TextFileLines result;
    platform::IFiles& files = platform::Files();
    std::string bytes;
    result.found = ReadBytes(path, bytes) || files.GetFileAttributesA(path.c_str()) != win::INVALID_FILE_ATTRIBUTES;
    bool& versionRead = result.versionRead;
    versionRead = versionLine == nullptr;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string text = bytes.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (!versionRead) {
            if (text != versionLine) return result;
            versionRead = true;
            continue;
        }
        result.lines.push_back(text);
    }
    result.lastLineCut = versionRead && start < bytes.size();
    return result;
}

std::string Hex(uint64_t value, int width) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llx", width, static_cast<unsigned long long>(value));
    return text;
}

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

bool NextToken(const std::string& text, size_t& at, std::string& token) {
    size_t blank = text.find(' ', at);
    if (blank == std::string::npos || blank == at) return false;
    token = text.substr(at, blank - at);
    at = blank + 1;
    return true;
}
