// The rule engine: parses a rule script into sections, applies a section to the
// running processes, and undoes what it did when the boost ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/BaseTypes.h"
#include "process/RestoreRecord.h"
#include "process/ThreadSnapshot.h"
#include "process/WindowStateList.h"
#include "rules/BoostJournal.h"
#include "rules/GameProcesses.h"
#include "rules/InheritanceWatch.h"

// Rule command bits; the restore flags reuse 0x08, 0x10 and 0x20.
enum RuleCommandBit : win::DWORD {
    kCommandSuspend = 0x001,
    kCommandTerminate = 0x002,
    kCommandSwapout = 0x004,
    kCommandPriority = 0x008,
    kCommandCpuMask = 0x010,
    kCommandResume = 0x020,
    kCommandHide = 0x040,
    kCommandShow = 0x080,
    kCommandService = 0x100,
};
constexpr win::DWORD kProcessCommandBits = 0xFF;

struct RuleSection {
    std::string name;
    std::string icon;
    std::string text;
    std::string comment;
    std::vector<std::string> policies;  // verbatim policy values, in script order
};

// One process of the snapshot during one execution.
struct ProcessTarget {
    std::string name;  // executable name without directory, lower case
    win::DWORD processId = 0;
    win::DWORD parentId = 0;
    win::DWORD actions = 0;
    win::DWORD priorityHigh = 0;   // with kCommandPriority
    win::DWORD processorMask = 0;  // with kCommandCpuMask
};

class RuleEngine {
public:
    RuleEngine() = default;
    // A boost still applied when the engine goes away is undone.
    virtual ~RuleEngine();
    RuleEngine(const RuleEngine&) = delete;
    RuleEngine& operator=(const RuleEngine&) = delete;

    // Replaces lines and sections with those of the script; reports error lines
    // in a message box. Always 1.
    int Parse(std::string script);

    // Applies the section to every running process but the game being played, which it
    // spares; nothing for a missing index.
    void Execute(int sectionIndex);
    // The window the player used just before the boost (null: none); the next Execute
    // spares its process.
    void SetPlayerWindow(win::HWND window) { playerWindow = window; }
    // Processes the next Execute spares besides those it finds itself.
    void SpareAlso(std::vector<win::DWORD> processIds) { alsoSpared = std::move(processIds); }
    // What the last Execute spared.
    const std::vector<SparedProcess>& SparedProcesses() const { return spared; }
    std::vector<ProcessTarget> SnapshotProcesses();
    // Pass 1 for one policy value: sets or clears one bit on the named targets, or
    // acts on a service at once.
    void ExecuteRuleRoutine(std::string value, std::vector<ProcessTarget>& targets);
    // Pass 2: performs the remaining actions of each target and records the undo. Always 1.
    int ApplyProcessActions(std::vector<ProcessTarget>& targets);
    // Clears every action of the game's processes and logs each with its reason.
    void SpareTheGame(std::vector<ProcessTarget>& targets);
    static win::DWORD ProcessorMaskFromArgument(const std::string& argument);

    // Reports the undo of each boost to the journal, which must outlive the engine (none by default).
    void JournalTo(BoostJournal* boostJournal) { journal = boostJournal; }
    // Takes over the records and window states of a boost that an earlier run of the
    // program applied, so that UndoBoost puts them back.
    void AdoptBoost(const std::vector<RestoreRecord>& records, const WindowStateList& windows);

    // Replays the restore records and window states once, then empties them and
    // deletes the journal.
    void UndoBoost();
    // While the boost is applied, gives the programs started since its snapshot back
    // what the processes it throttled passed on to them; about twice a second.
    void CheckStartedPrograms() { startedPrograms.Check(); }
    void CheckStartedPrograms(const std::vector<ProcessLineage>& processes) { startedPrograms.Check(processes); }
    void UndoProcess(const RestoreRecord& record, ThreadSnapshot& threads);
    bool IsBoostApplied() const { return active != 0; }
    int GetOptimizedProcessCount() const { return static_cast<int>(restoreRecords.size()); }
    void AddRestoreRecord(const RestoreRecord& record);
    // The maintained settings under HKEY_CURRENT_USER\Software\Kestrava\Maintain.
    void SaveMaintainedPriority(const std::string& target, win::DWORD isHigh);
    void SaveMaintainedCpuMask(const std::string& target, win::DWORD mask);

    // Format functions shared by the parser and the executor.
    // Strips spaces at both ends; a string of spaces only is returned unchanged.
    static std::string TrimSpaces(std::string text);
    // Removes one pair of enclosing double quotes.
    static std::string Unquote(std::string text);
    // Splits a policy value at spaces outside quotes; at least one token.
    static std::vector<std::string> Tokenize(const std::string& value);

    const std::vector<std::string>& Lines() const { return lines; }
    const std::vector<std::unique_ptr<RuleSection>>& Sections() const { return sections; }
    const std::vector<std::unique_ptr<RestoreRecord>>& RestoreRecords() const { return restoreRecords; }
    const WindowStateList& WindowStates() const { return windowStates; }

private:
    std::vector<std::string> lines;
    std::vector<std::unique_ptr<RuleSection>> sections;
    std::vector<std::unique_ptr<RestoreRecord>> restoreRecords;
    WindowStateList windowStates;
    win::LONG active = 0;
    BoostJournal* journal = nullptr;
    InheritanceWatch startedPrograms;
    win::HWND playerWindow = nullptr;
    std::vector<win::DWORD> alsoSpared;
    std::vector<SparedProcess> spared;
};
