// The boost that follows the game: with the option ticked, the boost button hides the main
// window behind a notification icon and waits; a game's start applies the boost without a
// window over the game, and the exit of every process of the game undoes it.
#include "app/MainDialog.h"

#include "platform/Platform.h"
#include "resources/ResourceIds.h"
#include "rules/ProcessLineage.h"

using namespace win;
using namespace resources;

namespace {

constexpr UINT_PTR kFollowTimer = 2;
constexpr UINT kWaitingMilliseconds = 2000;
// While the boost is applied the started programs are also looked at, about twice a second.
constexpr UINT kBoostedMilliseconds = 500;
const char kWaitingTip[] = "Kestrava: 게임을 기다리는 중";
const char kAppliedTip[] = "Kestrava: 부스트 적용 중";

std::string GameNames(const std::vector<GameProcess>& games) {
    std::string names;
    for (const GameProcess& game : games) names += (names.empty() ? "" : ", ") + game.name;
    return names;
}

}  // namespace

void MainDialog::SetFollowTimer(UINT milliseconds) {
    platform::User().SetTimer(Handle(), kFollowTimer, milliseconds, nullptr);
}

// Without an icon to come back by, the main window stays up while it waits.
void MainDialog::StartWaiting() {
    if (following == Following::Off) {
        following = Following::Waiting;
        gameWaiter.Begin();
        SetFollowTimer(kWaitingMilliseconds);
    }
    if (trayIcon.Added() || trayIcon.Add(Handle(), icon, kWaitingTip)) Show(SW_HIDE);
}

void MainDialog::StopFollowing() {
    if (following == Following::Off) return;
    platform::User().KillTimer(Handle(), kFollowTimer);
    if (ruleEngine.IsBoostApplied()) EndBoost();
    following = Following::Off;
    trayIcon.Remove();
    OfferRestore(true);
}

bool MainDialog::OnFollowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (following == Following::Off) return false;
    if (message == WM_TIMER && wParam == kFollowTimer) {
        OnFollowTick();
        return true;
    }
    if (trayIcon.IsTaskbarCreated(message)) {
        trayIcon.AddAgain();
        return true;
    }
    if (message != TrayIcon::kCallbackMessage) return false;
    const UINT mouse = static_cast<UINT>(lParam);
    if (mouse == WM_LBUTTONDBLCLK) OnTrayCommand(IDM_OPEN);
    if ((mouse == WM_RBUTTONUP || mouse == WM_CONTEXTMENU) && !busy) {
        ShowTrayMenu(Handle(), ruleEngine.IsBoostApplied());
    }
    return true;
}

// The menu's commands, also when another program sends them to the window. While a boost is
// being applied only 종료 counts, once the boost has been applied.
bool MainDialog::OnTrayCommand(WORD id) {
    if (id != IDM_OPEN && id != IDM_APPLY_NOW && id != IDM_UNDO && id != IDM_EXIT) return false;
    if (following == Following::Off) return true;
    if (busy) {
        exitAfterBoost = exitAfterBoost || id == IDM_EXIT;
        return true;
    }
    switch (id) {
    case IDM_OPEN:
        Show(SW_SHOW);
        platform::User().SetForegroundWindow(Handle());
        break;
    case IDM_APPLY_NOW:
        if (!ruleEngine.IsBoostApplied()) ApplyFollowingBoost({});
        break;
    case IDM_UNDO:
        if (ruleEngine.IsBoostApplied()) UndoFollowingBoost();
        break;
    case IDM_EXIT:
        StopFollowing();
        OnCancel();
        break;
    }
    return true;
}

// One process list serves the watch of the started programs and the look for games.
void MainDialog::OnFollowTick() {
    if (busy) return;  // the boost's own wait loops dispatch the timer too
    std::vector<ProcessLineage> processes;
    if (!ListProcessLineage(processes)) return;
    if (ruleEngine.IsBoostApplied()) ruleEngine.CheckStartedPrograms(processes);
    const std::vector<GameProcess> games = gameWaiter.Poll(processes);
    if (following == Following::Waiting) {
        if (!games.empty()) ApplyFollowingBoost(games);
        return;
    }
    if (!games.empty()) {
        trayIcon.SetTip(std::string(kAppliedTip) + " - " + GameNames(games));
        trayIcon.ShowBalloon("부스트를 적용했습니다: " + GameNames(games));
    }
    if (boostEndsWithGame && !gameWaiter.Following()) UndoFollowingBoost();
}

// The first boost of the run does every step, as the button does; later ones only the
// memory step and the process rules, since the display and TCP/IP values stay applied.
// Without games (지금 적용) it lasts until 되돌리기 or 종료.
void MainDialog::ApplyFollowingBoost(const std::vector<GameProcess>& games) {
    busy = 1;
    OfferRestore(false);
    ruleEngine.SpareAlso(gameWaiter.FollowedIds());
    bool applied = true;
    if (everyStepDone) {
        KeepBoostRecords(false);
        RunProcessSteps();
    } else {
        applied = OptimizeRun();
    }
    busy = 0;
    progress.SetPos(0);
    if (exitAfterBoost) {
        OnTrayCommand(IDM_EXIT);
        return;
    }
    if (!applied) {
        OfferRestore(true);
        return;
    }
    following = Following::Boosted;
    boostEndsWithGame = !games.empty();
    const std::string names = GameNames(games);
    trayIcon.SetTip(names.empty() ? std::string(kAppliedTip) : std::string(kAppliedTip) + " - " + names);
    trayIcon.ShowBalloon(names.empty() ? std::string("부스트를 적용했습니다.") : "부스트를 적용했습니다: " + names);
    SetFollowTimer(kBoostedMilliseconds);
    // A game that ended while its boost was being applied is undone at once.
    std::vector<ProcessLineage> processes;
    if (ListProcessLineage(processes)) gameWaiter.Poll(processes);
    if (boostEndsWithGame && !gameWaiter.Following()) UndoFollowingBoost();
}

void MainDialog::UndoFollowingBoost() {
    EndBoost();
    OfferRestore(true);
    following = Following::Waiting;
    boostEndsWithGame = false;
    trayIcon.SetTip(kWaitingTip);
    gameWaiter.Begin();
    SetFollowTimer(kWaitingMilliseconds);
}
