// What the undo of a boost needs for one changed process.
#pragma once

#include "platform/KernelTypes.h"

struct RestoreRecord {
    win::DWORD processId = 0;
    // Rule command bits: 0x08 priority back, 0x10 affinity back, 0x20 resume;
    // the undo also performs 0x04 swap out and 0x01 suspend.
    win::DWORD restoreFlags = 0;
    win::DWORD previousPriorityClass = 0;  // meaningful with 0x08
    win::DWORD previousAffinityMask = 0;   // meaningful with 0x10
};

// One of the six priority classes a process can have.
inline bool IsPriorityClass(win::DWORD priorityClass) {
    using namespace win;
    for (DWORD known : {IDLE_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS,
                        ABOVE_NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS, REALTIME_PRIORITY_CLASS}) {
        if (priorityClass == known) return true;
    }
    return false;
}
