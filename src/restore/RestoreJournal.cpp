#include "restore/RestoreJournal.h"

#include "platform/Platform.h"
#include "restore/CheckedLines.h"
#include "restore/JournalLine.h"

std::string RestoreJournalPath(const std::string& stateFolder) { return stateFolder + "\\BoostJournal.txt"; }

void RestoreJournal::WriteRecord(const std::string& name, const RestoreRecord& record) {
    if (!Keeps()) return;
    recorded = ProcessIdentity{record.processId, ProcessCreationTime(record.processId), name};
    Append(RecordLine(recorded, record));
}

void RestoreJournal::WriteWindows(const WindowStateList& states, size_t first) {
    if (!Keeps()) return;
    for (size_t i = first; i < states.windows.size(); ++i) {
        Append(WindowLine(recorded, states.windows[i], states.wasVisible[i]));
    }
}

void RestoreJournal::Append(const std::string& line) {
    platform::IFiles& files = platform::Files();
    if (state == State::None) {
        if (files.GetFileAttributesA(path.c_str()) != win::INVALID_FILE_ATTRIBUTES) {
            state = State::Refused;
            return;
        }
        const ProcessIdentity owner = RunningProcesses().Identify(platform::Processes().GetCurrentProcessId());
        if (!WriteText(path, "wt", std::string(kJournalVersionLine) + "\n" + OwnerLine(owner) + "\n")) return;
        state = State::Writing;
    }
    WriteText(path, "at", line + "\n");
}

void RestoreJournal::Remove() {
    if (state == State::Writing) platform::Files().DeleteFileA(path.c_str());
    state = State::None;
}
