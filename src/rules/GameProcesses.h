// The game being played, which a boost leaves alone: the processes that fill a monitor
// (a), the process of the window the player used just before the boost (b), and the
// processes that these started (c).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/UserTypes.h"

struct ProcessTarget;

struct SparedProcess {
    win::DWORD processId;
    uint64_t creationTime;
    std::string name;
    char reason;  // 'a', 'b' or 'c'
};

// The targets of the snapshot that count as the game. playerWindow may be null;
// alsoSpared are counted with reason a when they are in the snapshot. Never this
// program, the shell or a name of the protected list.
std::vector<SparedProcess> FindGameProcesses(const std::vector<ProcessTarget>& targets, win::HWND playerWindow,
                                             const std::vector<win::DWORD>& alsoSpared);
