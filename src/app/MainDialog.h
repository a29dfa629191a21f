// The main window of Vornel and the optimisation run that one press of its boost
// button performs: graphics tuning, the network probe with the TCP/IP tuning, the
// memory release by Drainex and the process rules; then the running window, and
// the undo when it closes.
#pragma once

#include <string>

#include "app/CrashUndo.h"
#include "app/GameWaiter.h"
#include "app/Sha256.h"
#include "app/StateFolderGate.h"
#include "app/TrayIcon.h"
#include "network/NetworkTuner.h"
#include "restore/RestoreJournal.h"
#include "restore/SettingsRecord.h"
#include "rules/RuleEngine.h"
#include "skin/SkinButton.h"
#include "skin/SkinStatic.h"
#include "ui/Dialog.h"
#include "ui/ToolTip.h"

class MainDialog : public ui::Dialog {
public:
    // helperDigest: the SHA-256 of the Drainex.exe built with this program.
    MainDialog(const std::string& exeFolder, StateFolderGate& stateFolder, const Sha256Digest& helperDigest);

    // The probe host handed to ping.
    std::string probeHost = kDefaultProbeHost;

protected:
    void DoDataExchange() override;
    win::BOOL OnInitDialog() override;
    bool OnCommand(win::WORD id, win::WORD code) override;
    bool OnMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam, win::LRESULT& result) override;

private:
    void OnBoost();
    void OnAutoBoostClicked();
    // The boost that follows the game (AutoBoost.cpp): waiting with the notification icon,
    // the boost when a game starts, its undo when the game's processes have all exited.
    void StartWaiting();
    void StopFollowing();
    bool OnFollowMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    bool OnTrayCommand(win::WORD id);
    void OnFollowTick();
    void ApplyFollowingBoost(const std::vector<GameProcess>& games);
    void UndoFollowingBoost();
    void SetFollowTimer(win::UINT milliseconds);
    void OfferRestore(bool offered) const;
    void OnRestore();
    // False when the user stopped the probe: the run ends there.
    bool OptimizeRun();
    // Where this boost keeps its journal, settings record and backups.
    void KeepBoostRecords(bool settingsRecordToo);
    void RunProcessSteps();
    void ApplyGraphicsProfile();
    bool RunNetworkStep();
    void RunMemoryStep();
    void ComposeDefaultScript();
    void EndBoost();
    void OnProbeDone(win::WPARAM outcome, win::LPARAM size);
    void WakeWaitLoop();
    void OnReleaseProgress(win::LPARAM position);
    void OnSuspendClicked();
    void OnEraseBkgnd(win::HDC dc);
    void OnPaint();

    SkinStatic indicator;
    SkinButton graphicsCheck;
    SkinButton fastCheck;
    SkinButton suspendCheck;
    SkinButton autoBoostCheck;
    ui::ProgressBar progress;
    SkinButton boostButton;
    SkinButton closeButton;
    SkinButton restoreButton;
    ui::ToolTip toolTip;
    win::HICON icon = nullptr;
    int32_t probeResult = 0;
    int32_t releaseRange = 1;
    int32_t busy = 0;
    int32_t networkDone = 0;
    int32_t releaseDone = 0;
    bool probeStopped = false;
    const std::string& exeFolder;
    StateFolderGate& stateFolder;
    std::string boostStateFolder;  // as checked when the boost began; empty: kept nowhere
    const Sha256Digest drainexDigest;
    bool foreignHelperReported = false;
    SettingsRecord settingsRecord;  // of the boost in progress; outlives the tuner that reports to it
    NetworkTuner networkTuner;
    RestoreJournal journal;  // outlives the engine, whose end undoes the boost
    RuleEngine ruleEngine;
    CrashUndo crashUndo{ruleEngine};
    enum class Following { Off, Waiting, Boosted };
    Following following = Following::Off;
    bool boostEndsWithGame = false;  // the boost was applied for a game, not from the menu
    bool everyStepDone = false;      // a boost of this run did the graphics and network steps
    bool exitAfterBoost = false;     // 종료 came while a boost was being applied
    GameWaiter gameWaiter;
    TrayIcon trayIcon;
};
