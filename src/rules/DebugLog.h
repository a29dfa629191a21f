// The rule engine's debug log, c:\debuglog.txt: each entry is appended with a line
// feed of its own, the file opened and closed for every entry.
#pragma once

#include <string>

// An entry that cannot be written (the file does not open, or a link stands at its name)
// is skipped.
void WriteDebugLog(const std::string& entry);
