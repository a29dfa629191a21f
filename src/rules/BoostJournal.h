// Where the rule engine reports the undo of a boost as it records it, so that
// the undo outlives the program that applied the boost.
#pragma once

#include <cstddef>
#include <string>

#include "process/RestoreRecord.h"
#include "process/WindowStateList.h"

class BoostJournal {
public:
    virtual ~BoostJournal() = default;
    // One process's record, before its windows are touched or it is suspended.
    virtual void WriteRecord(const std::string& name, const RestoreRecord& record) = 0;
    // The window entries from index first on, of the process whose record was written last.
    virtual void WriteWindows(const WindowStateList& states, size_t first) = 0;
    // The boost is undone.
    virtual void Remove() = 0;
};
