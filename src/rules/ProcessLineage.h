// Who started each running process, and when: what the watch over the programs started
// during a boost reads, up to twice a second. On the NT family it comes from the system's process
// information, one call that is far cheaper than a tool-help walk on a busy desktop.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/KernelTypes.h"

struct ProcessLineage {
    win::DWORD processId = 0;
    win::DWORD parentId = 0;
    uint64_t creationTime = 0;  // 0 where the list does not give it
};

// The running processes; from a tool-help snapshot, without start times, where the system's
// process information is not to be had. False when neither could be read.
bool ListProcessLineage(std::vector<ProcessLineage>& processes);

// The size of the system's process information now, asked for without reading it (0 where it
// cannot be asked). It changes when a process starts or ends, or a thread does.
win::DWORD ProcessListSize();

// The start time the list gave, else the one the process itself tells (0 if it cannot be opened).
uint64_t CreationTimeOf(const ProcessLineage& process);
