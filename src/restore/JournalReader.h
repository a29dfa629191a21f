// Reads the boost journal back. A line that is cut short, malformed, of an unknown
// kind or fails its check is skipped on its own; a file of another version gives
// nothing but the fact that it was found.
#pragma once

#include <string>
#include <vector>

#include "platform/BaseTypes.h"
#include "process/RestoreRecord.h"
#include "restore/ProcessIdentity.h"

struct JournalRecord {
    ProcessIdentity process;
    RestoreRecord record;
};

struct JournalWindow {
    ProcessIdentity process;
    win::HWND window = nullptr;
    win::WORD wasVisible = 0;
};

struct JournalContents {
    bool found = false;       // a file exists under the path
    bool ownerKnown = false;  // its version line and owner line were read
    ProcessIdentity owner;
    std::vector<JournalRecord> records;
    std::vector<JournalWindow> windows;
};

JournalContents ReadJournal(const std::string& path);
