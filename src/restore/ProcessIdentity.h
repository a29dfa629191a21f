// Which process instance an identifier named: process identifiers are reused, so a
// recorded identifier is matched with its executable name and, on the NT family,
// with its start time.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/BaseTypes.h"
#include "process/ProcessCreationTime.h"

struct ProcessIdentity {
    win::DWORD processId = 0;
    uint64_t creationTime = 0;  // FILETIME of its start; 0 where the system cannot tell
    std::string name;           // executable name without directory, lower case
};

// The processes running when it was made, by one tool-help snapshot.
class RunningProcesses {
public:
    RunningProcesses();
    // The identity of a running process; an empty name when none runs under that identifier.
    ProcessIdentity Identify(win::DWORD processId) const;
    // True when the recorded process is still the one running under its identifier: the
    // same executable name and, on the NT family, the same known start time.
    bool Runs(const ProcessIdentity& recorded) const;

private:
    std::map<win::DWORD, std::string> names;
};
