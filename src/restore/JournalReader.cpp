#include "restore/JournalReader.h"

#include "platform/Platform.h"
#include "restore/JournalLine.h"

namespace {

// Far more than the lines of every process a system runs; the rest is not read.
constexpr size_t kMostBytes = 1 << 20;

// The bytes of the file, up to kMostBytes; false when it cannot be opened.
bool ReadBytes(const std::string& path, std::string& bytes) {
    platform::IFiles& files = platform::Files();
    win::CRTFILE file = files.fopen(path.c_str(), "rb");
    if (!file) return false;
    char block[4096];
    size_t read = 0;
    while (bytes.size() < kMostBytes && (read = files.fread(block, 1, sizeof block, file)) > 0) bytes.append(block, read);
    files.fclose(file);
    return true;
}

void AddLine(const std::string& text, JournalContents& contents) {
    JournalLine line;
    if (!ParseJournalLine(text, line)) return;
    if (line.kind == "owner") {
        if (contents.ownerKnown) return;  // only the first owner line counts
        contents.owner = line.process;
        contents.ownerKnown = true;
        return;
    }
    if (!contents.ownerKnown) return;
    JournalRecord record{line.process, RestoreRecord{}};
    if (RecordFromLine(line, record.record)) contents.records.push_back(record);
    JournalWindow window{line.process};
    if (WindowFromLine(line, window.window, window.wasVisible)) contents.windows.push_back(window);
}

}  // namespace

JournalContents ReadJournal(const std::string& path) {
    JournalContents contents;
    std::string bytes;
    contents.found = ReadBytes(path, bytes) ||
                     platform::Files().GetFileAttributesA(path.c_str()) != win::INVALID_FILE_ATTRIBUTES;
    bool versionRead = false;
    // Only lines with their line end count: the last one may have been cut by a kill.
    for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string text = bytes.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (!versionRead) {
            if (text != kJournalVersionLine) break;
            versionRead = true;
            continue;
        }
        AddLine(text, contents);
    }
    return contents;
}
