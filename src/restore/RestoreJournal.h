// The recovery journal of the boost in force: every restore record and window
// entry as pass 2 makes it, so that a later start of the program can undo a boost
// whose program ended without its undo. Each line is appended and the file closed
// again before the next step, so a kill loses at most the line being written.
#pragma once

#include <string>

#include "platform/BaseTypes.h"
#include "restore/ProcessIdentity.h"
#include "rules/BoostJournal.h"

// stateFolder + "\BoostJournal.txt".
std::string RestoreJournalPath(const std::string& stateFolder);

class RestoreJournal : public BoostJournal {
public:
    // An empty path keeps no journal.
    explicit RestoreJournal(const std::string& journalPath) : path(journalPath) {}
    // The path of the next boost's journal (empty: none); a journal being written keeps its own.
    void KeepAt(const std::string& journalPath) {
        if (state == State::None) path = journalPath;
    }
    // The first line of a boost starts the file with the version and owner lines. A file
    // that exists already belongs to another copy of the program (or waits for the next
    // start to recover it) and is left alone: this boost then keeps no journal.
    void WriteRecord(const std::string& name, const RestoreRecord& record) override;
    void WriteWindows(const WindowStateList& states, size_t first) override;
    // Deletes the file this journal started; the next boost starts a new one.
    void Remove() override;

private:
    bool Keeps() const { return !path.empty() && state != State::Refused; }
    void Append(const std::string& line);

    enum class State { None, Writing, Refused };
    std::string path;
    State state = State::None;
    ProcessIdentity recorded;  // the process of the last record line
};
