// While a boost is applied, programs started by the processes it throttled inherit
// its idle class and its processor mask. The watch walks the process list, checks
// each new process of such a parent once, when first seen, and gives it back what it
// would have inherited without the boost. It keeps no restore record: the undo leaves
// these programs as they are.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/KernelTypes.h"
#include "rules/ProcessLineage.h"

class InheritanceWatch {
public:
    // What a process passes on of the boost to the programs it starts.
    struct PassedOn {
        uint64_t creationTime = 0;
        bool idleClass = false;                              // the boost's idle class
        win::DWORD classWithout = win::NORMAL_PRIORITY_CLASS;  // what a child inherits without the boost
        bool mask = false;                                   // the boost's processor mask
        win::DWORD boostMask = 0;
        win::DWORD maskWithout = 0;
    };

    // Starts a watch over the processes running at the boost (those of its snapshot).
    void Begin(const std::vector<win::DWORD>& snapshotIds);
    // The boost set the idle class on a process that had previousClass.
    void ThrottledClass(win::DWORD processId, win::DWORD previousClass);
    // The boost set mask on a process that had previousMask.
    void ThrottledMask(win::DWORD processId, win::DWORD mask, win::DWORD previousMask);
    // One walk of the process list (a fresh one, or the one given); nothing before Begin or
    // after End. A fresh list is read only when its size changed since the last walk, and
    // at every fourth check whatever the size.
    void Check();
    void Check(const std::vector<ProcessLineage>& processes);
    void End();

private:
    bool ListMayHaveChanged();
    PassedOn& Throttled(win::DWORD processId);
    static bool ParentIdReused(win::DWORD parentId, const PassedOn& parent);
    PassedOn HandBack(const ProcessLineage& process, const PassedOn& parent);

    bool watching = false;
    std::map<win::DWORD, uint64_t> snapshot;  // id and start time of each process of the boost's snapshot
    std::map<win::DWORD, uint64_t> lastWalk;  // id and listed start time of each process the last walk saw
    win::DWORD walkedSize = 0;               // the list's size before the last fresh walk
    int checksSinceWalk = 0;
    std::map<win::DWORD, PassedOn> passing;  // the processes that pass something of the boost on
};
