// What Vornel watches while the boost follows the game: the processes started since the
// waiting began, the games among them, and the processes of the followed games (the games
// and what they start) until all of them have exited.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/KernelTypes.h"
#include "rules/ProcessLineage.h"

struct GameProcess {
    win::DWORD processId = 0;
    std::string name;  // executable name, lower case
};

class GameWaiter {
public:
    // The processes running now are those started before the waiting; nothing is followed.
    void Begin();
    // One walk of the process list and, while a process started since Begin is not yet
    // followed, of the top-level windows. Returns the games found in this walk, which are
    // followed from now on; the processes they or a followed process start are followed too,
    // and those that exited are dropped.
    std::vector<GameProcess> Poll(const std::vector<ProcessLineage>& processes);
    // True while a followed process runs.
    bool Following() const { return !followed.empty(); }
    std::vector<win::DWORD> FollowedIds() const;

private:
    struct Seen {
        win::DWORD parentId = 0;
        uint64_t creationTime = 0;
        std::string name;
        bool startedSinceBegin = false;
    };
    void Walk(const std::vector<ProcessLineage>& processes, bool sinceBegin);
    bool IsGame(win::HWND window, const Seen& process) const;
    std::vector<GameProcess> FindGames();
    void Follow(win::DWORD processId);
    uint64_t StartTime(win::DWORD processId) const;

    std::map<win::DWORD, Seen> lastWalk;
    std::map<win::DWORD, uint64_t> followed;  // id and start time, which tells a reused id
};

// A process started by one of these launchers (steam.exe, battle.net.exe and the like:
// the game launchers of the protected list) is a game once it shows an ordinary window of
// at least 640 x 480.
bool IsGameLauncher(const std::string& name);
