// Rule execution: pass 1 sets action bits per policy value, pass 2 performs them
// per process and records what the undo needs.
#include <cstdio>

#include "process/ProcessorMask.h"
#include "process/clsEnhance.h"
#include "rules/AnsiText.h"
#include "rules/DebugLog.h"
#include "rules/DefaultScript.h"
#include "rules/ProcessSnapshot.h"
#include "rules/RuleEngine.h"

namespace {

struct Command {
    const char* word;
    win::DWORD bit;
};
constexpr Command kCommands[] = {
    {"suspend", kCommandSuspend}, {"terminate", kCommandTerminate}, {"swapout", kCommandSwapout},
    {"priority", kCommandPriority}, {"cpumask", kCommandCpuMask}, {"resume", kCommandResume},
    {"hide", kCommandHide}, {"show", kCommandShow}, {"service", kCommandService},
};

const Command* FindCommand(const std::string& word) {
    for (const Command& command : kCommands) {
        if (AnsiEqualsNoCase(word, command.word)) return &command;
    }
    return nullptr;
}

std::string Hex(win::DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

}  // namespace

void RuleEngine::Execute(int sectionIndex) {
    if (sectionIndex < 0 || static_cast<size_t>(sectionIndex) >= sections.size()) return;
    const RuleSection& section = *sections[sectionIndex];
    active = 1;
    std::vector<ProcessTarget> targets = SnapshotProcesses();
    std::vector<win::DWORD> snapshotIds;
    for (const ProcessTarget& target : targets) snapshotIds.push_back(target.processId);
    startedPrograms.Begin(snapshotIds);
    for (const std::string& value : section.policies) ExecuteRuleRoutine(value, targets);
    SpareTheGame(targets);
    ApplyProcessActions(targets);
}

// The game gets none of the actions, so no restore record either.
void RuleEngine::SpareTheGame(std::vector<ProcessTarget>& targets) {
    spared = FindGameProcesses(targets, playerWindow, alsoSpared);
    playerWindow = nullptr;
    alsoSpared.clear();
    for (const SparedProcess& game : spared) {
        WriteDebugLog("SpareGameProcess(" + std::string(1, game.reason) + "):" + game.name + "\n");
        for (ProcessTarget& target : targets) {
            if (target.processId == game.processId) target.actions = 0;
        }
    }
}

std::vector<ProcessTarget> RuleEngine::SnapshotProcesses() {
    std::vector<ProcessTarget> targets;
    WalkProcessSnapshot([&](const win::PROCESSENTRY32& entry) {
        ProcessTarget target;
        target.name = ProcessName(entry);
        target.processId = entry.th32ProcessID;
        target.parentId = entry.th32ParentProcessID;
        targets.push_back(std::move(target));
    });
    return targets;
}

void RuleEngine::ExecuteRuleRoutine(std::string value, std::vector<ProcessTarget>& targets) {
    clsEnhance enhance;
    std::vector<std::string> tokens = Tokenize(value);
    std::string command = tokens.front();
    tokens.erase(tokens.begin());
    WriteDebugLog("ExecuteRuleRoutine: Function = [" + command + "]\n");
    for (std::string& token : tokens) {
        token = Unquote(token);
        WriteDebugLog("   - '" + token + "'\n");
    }
    // A value without a target or an argument counts them as empty.
    const std::string target = tokens.size() > 0 ? tokens[0] : std::string();
    const std::string argument = tokens.size() > 1 ? tokens[1] : std::string();

    win::DWORD bit = 0;
    win::DWORD priorityHigh = 0;
    win::DWORD processorMask = 0;
    bool on = true;
    const Command* found = FindCommand(command);
    if (found) {
        bit = found->bit;
        if (bit == kCommandPriority) {
            priorityHigh = AnsiEqualsNoCase(argument, "high") ? 1 : 0;
            SaveMaintainedPriority(target, priorityHigh);
        } else if (bit == kCommandCpuMask) {
            processorMask = ProcessorMaskFromArgument(argument);
            SaveMaintainedCpuMask(target, processorMask);
        } else {
            on = AnsiEqualsNoCase(argument, "on");
        }
    }
    WriteDebugLog("Mask Applied\n");
    if (!found) WriteDebugLog("Unknown Command!!\n");

    if (bit & kProcessCommandBits) {
        const bool all = AnsiEqualsNoCase(target, "all");
        for (ProcessTarget& process : targets) {
            if (!all && !AnsiEqualsNoCase(target, process.name)) continue;
            if (bit == kCommandPriority) process.priorityHigh = priorityHigh;
            if (bit == kCommandCpuMask) process.processorMask = processorMask;
            if (on) {
                WriteDebugLog("mask added\n");
                process.actions |= bit;
            } else {
                WriteDebugLog("mask removed\n");
                process.actions &= ~bit;
            }
        }
    }
    WriteDebugLog("ApplyMask(ProcCmd)\n");

    if (bit == kCommandService) {
        if (on) {
            WriteDebugLog("clsEnhance.StartService : " + target + "\n");
            enhance.StartService(target.c_str());
        } else {
            WriteDebugLog("clsEnhance.StopService : " + target + "\n");
            enhance.StopService(target.c_str());
        }
    }
    WriteDebugLog("ApplyMask(Service)\n");
    WriteDebugLog("Execute rule routine end///\n");
}

int RuleEngine::ApplyProcessActions(std::vector<ProcessTarget>& targets) {
    clsEnhance enhance;
    ThreadSnapshot threads;
    WindowSnapshot windows;
    for (const ProcessTarget& process : targets) {
        const win::DWORD actions =
            KeepsItsPace(process.name) ? process.actions & ~(kCommandPriority | kCommandCpuMask) : process.actions;
        const win::DWORD id = process.processId;
        const std::string& name = process.name;
        if (!(actions & kProcessCommandBits)) continue;
        RestoreRecord record;
        if (actions & kCommandTerminate) {
            WriteDebugLog("clsEnhance.TerminateProcess:" + name + "\n");
            enhance.TerminateProcess(id);
            continue;
        }
        if (actions & kCommandPriority) {
            if (process.priorityHigh) {
                record.previousPriorityClass = enhance.SetProcessPriorityToHigh(id);
                WriteDebugLog("clsEnhance.SetProcessPriorityToHigh:" + name + "\n");
            } else {
                record.previousPriorityClass = enhance.SetProcessPriorityToLow(id);
                if (record.previousPriorityClass != 0) startedPrograms.ThrottledClass(id, record.previousPriorityClass);
                WriteDebugLog("clsEnhance.SetProcessPriorityToLow:" + name + "\n");
            }
            record.restoreFlags |= kCommandPriority;
        }
        if (actions & kCommandCpuMask) {
            // Stays 0 when the process cannot be opened; the undo's mask 0 is then refused.
            win::DWORD previousMask = 0;
            if (enhance.SetProcessAffinity(id, process.processorMask, previousMask) && previousMask != 0) {
                startedPrograms.ThrottledMask(id, process.processorMask, previousMask);
            }
            record.previousAffinityMask = previousMask;
            record.restoreFlags |= kCommandCpuMask;
            WriteDebugLog("clsEnhance.SetProcessAffinity: " + name + "(" + Hex(process.processorMask) + ")");
        }
        // The record is complete once priority and mask are changed; the journal gets it
        // before any window is touched or the process suspended, so that a kill can never
        // leave a suspended process unrecorded. It gets it even without flags: recovery
        // puts windows back only for processes whose record it read.
        record.processId = id;
        if (actions & kCommandSuspend) record.restoreFlags |= kCommandResume;
        if (journal) journal->WriteRecord(name, record);
        if (actions & kCommandShow) {
            WriteDebugLog("clsEnhance.ShowProcessWindow:" + name + "\n");
            const size_t first = windowStates.windows.size();
            enhance.ShowProcessWindow(id, windowStates, windows);
            if (journal) journal->WriteWindows(windowStates, first);
        }
        if (actions & kCommandHide) {
            WriteDebugLog("clsEnhance.HideProcessWindow:" + name + "\n");
            const size_t first = windowStates.windows.size();
            enhance.HideProcessWindow(id, windowStates, windows);
            if (journal) journal->WriteWindows(windowStates, first);
        }
        if (actions & kCommandSwapout) {
            WriteDebugLog("clsEnhance.SwapoutProcessMemory:" + name + "\n");
            enhance.SwapoutProcessMemory(id);
        }
        if (actions & kCommandSuspend) {
            WriteDebugLog("clsEnhance.SuspendProcess:" + name + "\n");
            enhance.SuspendProcess(id, threads);
        }
        if (actions & kCommandResume) {
            WriteDebugLog("clsEnhance.ResumeProcess:" + name + "\n");
            enhance.ResumeProcess(id, threads);
        }
        if (record.restoreFlags) AddRestoreRecord(record);
    }
    return 1;
}

win::DWORD RuleEngine::ProcessorMaskFromArgument(const std::string& argument) {
    if (AnsiEqualsNoCase(argument, "first")) return 1;
    if (AnsiEqualsNoCase(argument, "last")) {
        // No active processor counted from bit 0: the first processor.
        win::DWORD count = GetActiveProcessorCount();
        return count == 0 ? 1 : win::DWORD{1} << (count - 1);
    }
    return GetActiveProcessorMask();
}
