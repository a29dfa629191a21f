// The threads of every process from one tool-help snapshot, taken when first asked for, so
// that suspending or resuming many processes walks the system's threads once.
#pragma once

#include <map>
#include <vector>

#include "platform/KernelTypes.h"

class ThreadSnapshot {
public:
    // The process's threads as the snapshot found them; empty when no snapshot could be taken.
    const std::vector<win::DWORD>& ThreadsOf(win::DWORD processId);

private:
    void Take();

    bool taken = false;
    std::map<win::DWORD, std::vector<win::DWORD>> threads;
};
