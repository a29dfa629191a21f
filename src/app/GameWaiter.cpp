#include "app/GameWaiter.h"

#include <set>

#include "platform/Platform.h"
#include "process/GameWindows.h"
#include "rules/AnsiText.h"
#include "rules/DefaultScript.h"
#include "rules/ProcessSnapshot.h"

using namespace win;

namespace {

constexpr const char* kGameLaunchers[] = {
    "steam.exe",     "epicgameslauncher.exe", "battle.net.exe",         "riotclientservices.exe",
    "riot client.exe", "eadesktop.exe",       "ubisoftconnect.exe",     "upc.exe",
    "nexon_launcher.exe", "nexonplug.exe",    "netmarble launcher.exe", "stove.exe",
};
constexpr LONG kLeastGameWidth = 640;
constexpr LONG kLeastGameHeight = 480;

// The top-level windows of the candidate processes, with their process.
struct CandidateWindows {
    const std::set<DWORD>* candidates;
    std::vector<std::pair<HWND, DWORD>> windows;
};

BOOL KAPI VisitWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<CandidateWindows*>(parameter);
    DWORD processId = 0;
    platform::User().GetWindowThreadProcessId(window, &processId);
    if (search->candidates->count(processId)) search->windows.emplace_back(window, processId);
    return TRUE;
}

}  // namespace

bool IsGameLauncher(const std::string& name) {
    for (const char* launcher : kGameLaunchers) {
        if (AnsiEqualsNoCase(name, launcher)) return true;
    }
    return false;
}

void GameWaiter::Begin() {
    lastWalk.clear();
    followed.clear();
    std::vector<ProcessLineage> processes;
    ListProcessLineage(processes);
    Walk(processes, false);
}

std::vector<DWORD> GameWaiter::FollowedIds() const {
    std::vector<DWORD> ids;
    for (const auto& process : followed) ids.push_back(process.first);
    return ids;
}

void GameWaiter::Follow(DWORD processId) { followed[processId] = StartTime(processId); }

// The start time the process list gave, else the one the process itself tells.
uint64_t GameWaiter::StartTime(DWORD processId) const {
    auto seen = lastWalk.find(processId);
    return CreationTimeOf({processId, 0, seen == lastWalk.end() ? 0 : seen->second.creationTime});
}

// A process is the same as in the last walk while its id stays in the list from walk to walk
// with the same parent and start time. Names come from a tool-help snapshot, taken only when
// a walk meets a process it has not seen, so that a walk that finds nothing new costs no more
// than the list. On 9x, whose list has no start times, every walk reads the names, and the
// same parent and name tell the same process: an id a new program got in between mostly
// comes with another name or parent.
void GameWaiter::Walk(const std::vector<ProcessLineage>& processes, bool sinceBegin) {
    std::map<DWORD, Seen> walk;
    std::map<DWORD, std::string> names;
    bool named = false;
    for (const ProcessLineage& process : processes) {
        auto known = lastWalk.find(process.processId);
        const bool same = known != lastWalk.end() && known->second.parentId == process.parentId &&
                          known->second.creationTime == process.creationTime;
        if (same && process.creationTime != 0) {
            walk[process.processId] = std::move(known->second);
            continue;
        }
        if (!named) {
            WalkProcessSnapshot([&](const PROCESSENTRY32& entry) { names[entry.th32ProcessID] = ProcessName(entry); });
            named = true;
        }
        const std::string& name = names[process.processId];
        if (same && known->second.name == name) {
            walk[process.processId] = std::move(known->second);
            continue;
        }
        walk[process.processId] = Seen{process.parentId, process.creationTime, name, sinceBegin};
    }
    lastWalk.swap(walk);
}

std::vector<GameProcess> GameWaiter::Poll(const std::vector<ProcessLineage>& processes) {
    Walk(processes, true);
    for (auto it = followed.begin(); it != followed.end();) {
        const bool runs = lastWalk.count(it->first) && StartTime(it->first) == it->second;
        it = runs ? std::next(it) : followed.erase(it);
    }
    // A process started by a followed one belongs to its game; its own children come in
    // the next walk at the latest.
    for (const auto& process : lastWalk) {
        if (process.second.startedSinceBegin && !followed.count(process.first) &&
            followed.count(process.second.parentId)) {
            Follow(process.first);
        }
    }
    return FindGames();
}

std::vector<GameProcess> GameWaiter::FindGames() {
    std::set<DWORD> candidates;
    for (const auto& process : lastWalk) {
        if (process.second.startedSinceBegin && !followed.count(process.first) &&
            !IsProtectedProcess(process.second.name)) {
            candidates.insert(process.first);
        }
    }
    if (candidates.empty()) return {};
    CandidateWindows search{&candidates, {}};
    platform::User().EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
    std::vector<GameProcess> games;
    for (const auto& window : search.windows) {
        const DWORD processId = window.second;
        if (followed.count(processId) || !IsGame(window.first, lastWalk[processId])) continue;
        Follow(processId);
        games.push_back(GameProcess{processId, lastWalk[processId].name});
    }
    return games;
}

// Rule a of the game's sparing (a window over a whole monitor), or a program of a game
// launcher with an ordinary window of a game's size.
bool GameWaiter::IsGame(HWND window, const Seen& process) const {
    if (FillsAMonitor(window)) return true;
    auto parent = lastWalk.find(process.parentId);
    if (parent == lastWalk.end() || !IsGameLauncher(parent->second.name) || !IsOrdinaryWindow(window)) return false;
    RECT rect{};
    if (!platform::User().GetWindowRect(window, &rect)) return false;
    return rect.right - rect.left >= kLeastGameWidth && rect.bottom - rect.top >= kLeastGameHeight;
}
