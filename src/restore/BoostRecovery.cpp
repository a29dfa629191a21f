#include "restore/BoostRecovery.h"

#include <algorithm>
#include <vector>

#include "platform/Platform.h"
#include "restore/JournalReader.h"
#include "restore/ProcessIdentity.h"
#include "rules/RuleEngine.h"

bool RecoverInterruptedBoost(const std::string& journalPath) {
    const JournalContents journal = ReadJournal(journalPath);
    if (!journal.found) return false;
    const RunningProcesses running;
    // At start-up this program has no journal of its own yet, so its own identifier
    // in the owner line names an earlier program.
    const bool ownerRuns = journal.ownerKnown &&
                           journal.owner.processId != platform::Processes().GetCurrentProcessId() &&
                           running.Runs(journal.owner);
    if (ownerRuns) return false;

    std::vector<RestoreRecord> records;
    std::vector<ProcessIdentity> proven;
    for (const JournalRecord& entry : journal.records) {
        if (!running.Runs(entry.process)) continue;
        records.push_back(entry.record);
        proven.push_back(entry.process);
    }
    // A window is shown or hidden only when its process's record was read and proven as
    // well: a process whose record was lost may still be suspended, and its windows would
    // never answer.
    auto provenProcess = [&](const ProcessIdentity& process) {
        return std::any_of(proven.begin(), proven.end(), [&](const ProcessIdentity& known) {
            return known.processId == process.processId && known.creationTime == process.creationTime &&
                   known.name == process.name;
        });
    };
    WindowStateList windows;
    for (const JournalWindow& entry : journal.windows) {
        win::DWORD owner = 0;
        const bool exists = platform::User().GetWindowThreadProcessId(entry.window, &owner) != 0;
        if (exists && owner == entry.process.processId && provenProcess(entry.process)) {
            windows.Append(entry.window, entry.wasVisible);
        }
    }
    const bool anything = !records.empty() || !windows.windows.empty();
    if (anything) {
        RuleEngine engine;
        engine.AdoptBoost(records, windows);
        engine.UndoBoost();
    }
    platform::Files().DeleteFileA(journalPath.c_str());
    return anything;
}
