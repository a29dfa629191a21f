#include "rules/GameProcesses.h"

#include <algorithm>

#include "platform/Platform.h"
#include "process/GameWindows.h"
#include "process/ProcessCreationTime.h"
#include "rules/AnsiText.h"
#include "rules/DefaultScript.h"
#include "rules/RuleEngine.h"

using namespace win;

namespace {

// The shell's desktop and taskbar windows cover a monitor, or nearly.
bool IsShellWindow(HWND window) {
    char className[32] = {};
    platform::User().GetClassNameA(window, className, sizeof className);
    for (const char* shellClass : {"Progman", "WorkerW", "Shell_TrayWnd"}) {
        if (AnsiEqualsNoCase(className, shellClass)) return true;
    }
    return false;
}

class GameSearch {
public:
    explicit GameSearch(const std::vector<ProcessTarget>& snapshot) : targets(snapshot) {}

    void SpareOwnerOf(HWND window, char reason) {
        DWORD processId = 0;
        if (window == nullptr || IsShellWindow(window) ||
            platform::User().GetWindowThreadProcessId(window, &processId) == 0) {
            return;
        }
        Spare(processId, reason);
    }

    void Spare(DWORD processId, char reason) {
        if (processId == ownProcess || IsSpared(processId)) return;
        const ProcessTarget* target = Find(processId);
        // The protected names include the shell's explorer.exe.
        if (target == nullptr || IsProtectedProcess(target->name)) return;
        spared.push_back({processId, ProcessCreationTime(processId), target->name, reason});
    }

    // The processes the spared ones started, and theirs; a parent must have started before
    // its child, since identifiers are reused.
    void SpareChildren() {
        for (size_t parent = 0; parent < spared.size(); ++parent) {
            for (const ProcessTarget& target : targets) {
                if (target.parentId != spared[parent].processId || IsSpared(target.processId)) continue;
                const uint64_t started = ProcessCreationTime(target.processId);
                const uint64_t parentStarted = spared[parent].creationTime;
                if (started != 0 && parentStarted != 0 && parentStarted >= started) continue;
                Spare(target.processId, 'c');
            }
        }
    }

    std::vector<SparedProcess> spared;

private:
    bool IsSpared(DWORD processId) const {
        return std::any_of(spared.begin(), spared.end(),
                           [&](const SparedProcess& process) { return process.processId == processId; });
    }
    const ProcessTarget* Find(DWORD processId) const {
        for (const ProcessTarget& target : targets) {
            if (target.processId == processId) return &target;
        }
        return nullptr;
    }

    const std::vector<ProcessTarget>& targets;
    const DWORD ownProcess = platform::Processes().GetCurrentProcessId();
};

BOOL KAPI VisitTopLevel(HWND window, LPARAM context) {
    if (FillsAMonitor(window)) reinterpret_cast<GameSearch*>(context)->SpareOwnerOf(window, 'a');
    return TRUE;
}

}  // namespace

std::vector<SparedProcess> FindGameProcesses(const std::vector<ProcessTarget>& targets, HWND playerWindow,
                                             const std::vector<DWORD>& alsoSpared) {
    GameSearch search(targets);
    platform::User().EnumWindows(&VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    search.SpareOwnerOf(playerWindow, 'b');
    for (DWORD processId : alsoSpared) search.Spare(processId, 'a');
    search.SpareChildren();
    return search.spared;
}
