#include "restore/JournalReader.h"

#include "restore/CheckedLines.h"
#include "restore/JournalLine.h"

namespace {

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
    const TextFileLines file = ReadTextLines(path, kJournalVersionLine);
    contents.found = file.found;
    for (const std::string& text : file.lines) AddLine(text, contents);
    return contents;
}
