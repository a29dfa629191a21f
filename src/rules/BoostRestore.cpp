// The undo of a boost: restore records first to last, then the window states.
#include "platform/Platform.h"
#include "process/clsEnhance.h"
#include "rules/RuleEngine.h"

RuleEngine::~RuleEngine() {
    // Whatever path ends the program, the processes are not left suspended or throttled.
    UndoBoost();
}

void RuleEngine::AddRestoreRecord(const RestoreRecord& record) {
    restoreRecords.push_back(std::make_unique<RestoreRecord>(record));
}

void RuleEngine::AdoptBoost(const std::vector<RestoreRecord>& records, const WindowStateList& windows) {
    for (const RestoreRecord& record : records) AddRestoreRecord(record);
    for (size_t i = 0; i < windows.windows.size(); ++i) windowStates.Append(windows.windows[i], windows.wasVisible[i]);
    active = 1;
}

void RuleEngine::UndoBoost() {
    if (!IsBoostApplied()) return;
    ThreadSnapshot threads;
    for (std::unique_ptr<RestoreRecord>& slot : restoreRecords) {
        std::unique_ptr<RestoreRecord> record = std::move(slot);
        if (record) UndoProcess(*record, threads);
    }
    for (size_t i = 0; i < windowStates.windows.size(); ++i) {
        const int command = windowStates.wasVisible[i] ? win::SW_SHOW : win::SW_HIDE;
        platform::User().ShowWindow(windowStates.windows[i], command);
    }
    restoreRecords.clear();
    windowStates.Clear();
    startedPrograms.End();
    active = 0;
    if (journal) journal->Remove();
}

void RuleEngine::UndoProcess(const RestoreRecord& record, ThreadSnapshot& threads) {
    clsEnhance enhance;
    const win::DWORD id = record.processId;
    const win::DWORD flags = record.restoreFlags;
    if (flags & kCommandPriority) enhance.RestoreProcessPriority(id, record.previousPriorityClass);
    if (flags & kCommandCpuMask) {
        win::DWORD discarded = 0;
        enhance.SetProcessAffinity(id, record.previousAffinityMask, discarded);
    }
    if (flags & kCommandSwapout) enhance.SwapoutProcessMemory(id);
    if (flags & kCommandSuspend) enhance.SuspendProcess(id, threads);
    if (flags & kCommandResume) enhance.ResumeProcess(id, threads);
}
