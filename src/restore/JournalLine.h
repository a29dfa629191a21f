// The text lines of the boost journal. After the version line every line reads
//   KIND PID START VALUES... NAME #CHECK
// PID in decimal, START (the process's start time) as 16 lower-case hexadecimal digits, the
// values in hexadecimal, NAME the executable name (it may hold blanks) and CHECK
// the 8-digit FNV-1a hash of everything before " #". The kinds:
//   owner  PID START NAME                        the program that applied the boost
//   record PID START FLAGS PRIORITY MASK NAME    one RestoreRecord
//   window PID START HANDLE VISIBLE NAME         one window entry of the process
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/BaseTypes.h"
#include "process/RestoreRecord.h"
#include "restore/ProcessIdentity.h"

constexpr char kJournalVersionLine[] = "Kestrava boost journal 1";

struct JournalLine {
    std::string kind;
    ProcessIdentity process;
    std::vector<uint64_t> values;
};

// Each without its line end.
std::string OwnerLine(const ProcessIdentity& owner);
// A record line holds only what the undo can use: the flags 0x08, 0x10 and 0x20, a class
// only with 0x08 and a non-zero mask only with 0x10.
std::string RecordLine(const ProcessIdentity& process, const RestoreRecord& record);
std::string WindowLine(const ProcessIdentity& process, win::HWND window, win::WORD wasVisible);

// False unless the text is one whole line of a known kind whose check matches.
bool ParseJournalLine(const std::string& text, JournalLine& line);
// False when the line is of another kind or a value is out of range; a record also when
// it holds a flag, class or mask that a boost never records.
bool RecordFromLine(const JournalLine& line, RestoreRecord& record);
bool WindowFromLine(const JournalLine& line, win::HWND& window, win::WORD& wasVisible);
