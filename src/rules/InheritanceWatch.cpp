#include "rules/InheritanceWatch.h"

#include <algorithm>
#include <set>

#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "process/ProcessCreationTime.h"

using namespace win;

namespace {

constexpr int kChecksPerWalk = 4;

// A program started without a class flag gets the idle and below-normal classes of its
// parent, and the normal class from any other.
DWORD InheritedClass(DWORD parentClass) {
    return parentClass == IDLE_PRIORITY_CLASS || parentClass == BELOW_NORMAL_PRIORITY_CLASS ? parentClass
                                                                                            : NORMAL_PRIORITY_CLASS;
}

}  // namespace

void InheritanceWatch::Begin(const std::vector<DWORD>& snapshotIds) {
    End();
    std::vector<ProcessLineage> running;
    ListProcessLineage(running);
    std::map<DWORD, ProcessLineage> listed;
    for (const ProcessLineage& process : running) listed[process.processId] = process;
    for (DWORD id : snapshotIds) {
        auto found = listed.find(id);
        const ProcessLineage process = found != listed.end() ? found->second : ProcessLineage{id};
        snapshot[id] = CreationTimeOf(process);
        lastWalk[id] = process.creationTime;
    }
    watching = true;
}

void InheritanceWatch::End() {
    watching = false;
    snapshot.clear();
    lastWalk.clear();
    walkedSize = 0;
    checksSinceWalk = 0;
    passing.clear();
}

InheritanceWatch::PassedOn& InheritanceWatch::Throttled(DWORD processId) {
    PassedOn& passed = passing[processId];
    auto boosted = snapshot.find(processId);
    if (boosted != snapshot.end()) passed.creationTime = boosted->second;
    return passed;
}

void InheritanceWatch::ThrottledClass(DWORD processId, DWORD previousClass) {
    PassedOn& passed = Throttled(processId);
    passed.idleClass = true;
    passed.classWithout = InheritedClass(previousClass);
}

void InheritanceWatch::ThrottledMask(DWORD processId, DWORD mask, DWORD previousMask) {
    PassedOn& passed = Throttled(processId);
    passed.mask = true;
    passed.boostMask = mask;
    passed.maskWithout = previousMask;
}

void InheritanceWatch::Check() {
    std::vector<ProcessLineage> processes;
    if (watching && ListMayHaveChanged() && ListProcessLineage(processes)) Check(processes);
}

// Reading the list costs far more than asking for its size (under Wine, a file read for each
// process and thread). The same size means no program started, unless another ended at the
// same moment; the fourth check reads the list whatever the size, so such a program waits
// at most that long.
bool InheritanceWatch::ListMayHaveChanged() {
    const DWORD size = ProcessListSize();
    if (size != 0 && size == walkedSize && ++checksSinceWalk < kChecksPerWalk) return false;
    walkedSize = size;
    checksSinceWalk = 0;
    return true;
}

void InheritanceWatch::Check(const std::vector<ProcessLineage>& processes) {
    if (!watching) return;
    std::map<DWORD, uint64_t> walk;
    std::vector<ProcessLineage> firstSeen;
    std::set<DWORD> firstSeenIds;
    for (const ProcessLineage& process : processes) {
        walk[process.processId] = process.creationTime;
        // A known identifier with another start time is a new process.
        auto seen = lastWalk.find(process.processId);
        if (seen != lastWalk.end() && seen->second == process.creationTime) continue;
        firstSeen.push_back(process);
        firstSeenIds.insert(process.processId);
    }
    lastWalk.swap(walk);

    std::vector<ProcessLineage> started;
    for (ProcessLineage& process : firstSeen) {
        // Only a process whose identifier or parent the watch knows can have inherited from
        // the boost; the others are not opened at all.
        const bool known = snapshot.count(process.processId) || passing.count(process.processId) ||
                           passing.count(process.parentId) || firstSeenIds.count(process.parentId);
        if (!known) continue;
        process.creationTime = CreationTimeOf(process);
        auto boosted = snapshot.find(process.processId);
        if (boosted != snapshot.end() && boosted->second == process.creationTime) continue;
        // The identifier is reused: what its earlier process passed on ended with it.
        passing.erase(process.processId);
        started.push_back(process);
    }
    std::stable_sort(started.begin(), started.end(),
                     [](const ProcessLineage& a, const ProcessLineage& b) { return a.creationTime < b.creationTime; });
    // A program found inheriting may have started one of its own before this walk; on
    // the 9x family, without start times, the walk's order decides nothing.
    for (bool found = true; found;) {
        found = false;
        for (auto process = started.begin(); process != started.end();) {
            auto parent = passing.find(process->parentId);
            if (parent != passing.end() && ParentIdReused(process->parentId, parent->second)) {
                passing.erase(parent);
                parent = passing.end();
            }
            // The parent must have started before the child, since identifiers are reused.
            if (parent == passing.end() ||
                (process->creationTime != 0 && parent->second.creationTime >= process->creationTime)) {
                ++process;
                continue;
            }
            PassedOn handedOn = HandBack(*process, parent->second);
            passing[process->processId] = handedOn;
            process = started.erase(process);
            found = true;
        }
    }
}

// A program whose parent has ended since still got what the boost passed on; one whose
// parent's identifier now names a later process between two walks did not.
bool InheritanceWatch::ParentIdReused(DWORD parentId, const PassedOn& parent) {
    const uint64_t running = ProcessCreationTime(parentId);
    return running != 0 && running != parent.creationTime;
}

// Only what still equals what the boost passed on is changed.
InheritanceWatch::PassedOn InheritanceWatch::HandBack(const ProcessLineage& process, const PassedOn& parent) {
    PassedOn passed;
    passed.creationTime = process.creationTime;
    auto& processes = platform::Processes();
    const platform::ScopedHandle handle(
        processes.OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, process.processId));
    if (!handle) return passed;
    if (parent.idleClass && processes.GetPriorityClass(handle.Get()) == IDLE_PRIORITY_CLASS) {
        passed.idleClass = true;
        passed.classWithout = parent.classWithout;
        if (parent.classWithout != IDLE_PRIORITY_CLASS) processes.SetPriorityClass(handle.Get(), parent.classWithout);
    }
    DWORD_PTR mask = 0;
    DWORD_PTR system = 0;
    if (parent.mask && processes.GetProcessAffinityMask(handle.Get(), &mask, &system) && mask == parent.boostMask) {
        passed.mask = true;
        passed.boostMask = parent.boostMask;
        passed.maskWithout = parent.maskWithout;
        if (parent.maskWithout != parent.boostMask) processes.SetProcessAffinityMask(handle.Get(), parent.maskWithout);
    }
    return passed;
}
