#include "restore/RestoreJournal.h"

#include "platform/Platform.h"
#include "restore/JournalLine.h"

std::string RestoreJournalPath(const std::string& exeFolder) { return exeFolder + "\\Restore\\BoostJournal.txt"; }

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
        size_t slash = path.rfind('\\');
        if (slash != std::string::npos) files.CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
        win::CRTFILE file = files.fopen(path.c_str(), "wt");
        if (!file) return;
        const ProcessIdentity owner = RunningProcesses().Identify(platform::Processes().GetCurrentProcessId());
        files.fputs((std::string(kJournalVersionLine) + "\n" + OwnerLine(owner) + "\n").c_str(), file);
        files.fclose(file);
        state = State::Writing;
    }
    win::CRTFILE file = files.fopen(path.c_str(), "at");
    if (!file) return;
    files.fputs((line + "\n").c_str(), file);
    files.fclose(file);
}

void RestoreJournal::Remove() {
    if (state == State::Writing) platform::Files().DeleteFileA(path.c_str());
    state = State::None;
}
