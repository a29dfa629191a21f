#include "app/MainDialog.h"

#include <algorithm>

#include "app/AutoBoostOption.h"
#include "app/BoostDialog.h"
#include "app/DragStrip.h"
#include "app/DrainexLauncher.h"
#include "app/ReleaseProgress.h"
#include "app/SettingsRestoreOffer.h"
#include "drainex/ReleaseMessages.h"
#include "graphics/GraphicsTuner.h"
#include "network/ProbeMessages.h"
#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "process/GameWindows.h"
#include "resources/ResourceIds.h"
#include "rules/DefaultScript.h"
#include "skin/SkinBackground.h"
#include "skin/SkinBitmaps.h"

using namespace win;
using namespace resources;

namespace {

constexpr COLORREF kCheckGround = RGB(245, 245, 245);
const char kSuspendWarning[] =
    "모든 프로세스에 이 옵션을 적용하게 됩니다.\n\n다른 중요한 프로그램들을 함께 실행하고 있는 중이라면, 문제가 생길 수 "
    "있으므로,\n게임 프로그램이 아닌 다른 프로그램은 모두 종료하는 것이 좋습니다.";
const char kOptionsPrompt[] = "Kestrava에 사용할 옵션을 선택하세요";
const char kRestoreTip[] = "Kestrava가 바꾼 그래픽·네트워크 설정을 처음 상태로 되돌립니다";
// The restore button: centred under the boost button, this far below it.
constexpr int kRestoreWidth = 70;
constexpr int kRestoreHeight = 22;
constexpr int kRestoreGap = 8;
const char kForeignHelper[] =
    "Drainex.exe 파일이 이 Vornel.exe와 함께 배포된 파일이 아닙니다.\n메모리 정리를 건너뜁니다.";

// The programs found as the game, not those they started, each name once.
std::string GameNames(const std::vector<SparedProcess>& spared) {
    std::vector<std::string> shown;
    std::string names;
    for (const SparedProcess& process : spared) {
        if (process.reason == 'c' || std::find(shown.begin(), shown.end(), process.name) != shown.end()) continue;
        names += (shown.empty() ? "" : ", ") + process.name;
        shown.push_back(process.name);
    }
    return names;
}

}  // namespace

MainDialog::MainDialog(const std::string& folder, StateFolderGate& state, const Sha256Digest& helperDigest)
    : ui::Dialog(IDD_MAIN, nullptr),
      exeFolder(folder),
      stateFolder(state),
      drainexDigest(helperDigest),
      journal(std::string()) {
    icon = platform::User().LoadIconA(ui::AppInstance(), MAKEINTRESOURCEA(IDI_MAIN));
    ruleEngine.JournalTo(&journal);
    networkTuner.RecordOverwritesWith(&settingsRecord);
}

void MainDialog::DoDataExchange() {
    Bind(IDC_INDICATOR, indicator);
    Bind(IDC_GRAPHICS, graphicsCheck);
    Bind(IDC_FAST, fastCheck);
    Bind(IDC_SUSPEND, suspendCheck);
    Bind(IDC_AUTO_BOOST, autoBoostCheck);
    Bind(IDC_PROGRESS, progress);
    Bind(IDC_BOOST, boostButton);
    Bind(IDC_CLOSE, closeButton);
    Bind(IDC_RESTORE, restoreButton);
}

BOOL MainDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetPos(nullptr, 0, 0, 500, 367, SWP_NOMOVE | SWP_NOZORDER);
    SetText("Kestrava");
    fastCheck.SetCheck(true, true);
    progress.SetRange(0, 100);
    progress.SetStep(1);

    for (SkinButton* button :
         {&fastCheck, &graphicsCheck, &suspendCheck, &autoBoostCheck, &boostButton, &closeButton, &restoreButton}) {
        button->SetFlatBorder(false, true);
        button->SetPressedOffset(255, true);
    }
    // The window ground shows around the pictures of the checkboxes and the restore button.
    for (SkinButton* button : {&fastCheck, &graphicsCheck, &suspendCheck, &autoBoostCheck, &restoreButton}) {
        for (int index : {0, 2, 4}) button->SetColor(index, kCheckGround, true);
    }
    closeButton.SetBitmaps(IDB_CLOSE_HOT, RGB(0, 0, 0), IDB_CLOSE_IDLE, RGB(0, 0, 0));
    boostButton.SetBitmaps(IDB_BOOST_HOT, RGB(0, 0, 0), IDB_BOOST_IDLE, RGB(0, 0, 0));
    fastCheck.SetBitmaps(IDB_CHECK_ON, RGB(0, 0, 0), IDB_CHECK_OFF, RGB(0, 0, 0));
    graphicsCheck.SetBitmaps(IDB_CHECK_ON, RGB(0, 0, 0), IDB_CHECK_OFF, RGB(0, 0, 0));
    suspendCheck.SetBitmaps(IDB_SUSPEND_ON, RGB(255, 255, 255), IDB_SUSPEND_OFF, RGB(0, 0, 0));
    autoBoostCheck.SetBitmaps(IDB_SUSPEND_ON, RGB(255, 255, 255), IDB_SUSPEND_OFF, RGB(0, 0, 0));
    autoBoostCheck.SetCheck(ReadAutoBoostOption(stateFolder.Use(Handle())), true);
    RECT window = WindowRect();
    closeButton.SetPos(nullptr, (window.right - window.left) - 70, 1, 43, 16, SWP_NOZORDER);
    boostButton.SetPos(nullptr, 0, 0, 65, 64, SWP_NOMOVE | SWP_NOZORDER);
    restoreButton.SetBitmaps(IDB_RESTORE_HOT, RGB(0, 0, 0), IDB_RESTORE_IDLE, RGB(0, 0, 0));
    RECT boost = boostButton.RectIn(Handle());
    restoreButton.SetPos(nullptr, (boost.left + boost.right - kRestoreWidth) / 2, boost.bottom + kRestoreGap,
                         kRestoreWidth, kRestoreHeight, SWP_NOZORDER);
    if (toolTip.Create(Handle())) toolTip.AddTool(restoreButton.Handle(), kRestoreTip);

    AddBusyIndicatorFrames(indicator);
    return TRUE;
}

bool MainDialog::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_CLOSE: OnCancel(); return true;
    case IDC_BOOST: OnBoost(); return true;
    case IDC_FAST: graphicsCheck.SetCheck(!fastCheck.GetCheck(), true); return true;
    case IDC_GRAPHICS: fastCheck.SetCheck(!graphicsCheck.GetCheck(), true); return true;
    case IDC_SUSPEND: OnSuspendClicked(); return true;
    case IDC_RESTORE: OnRestore(); return true;
    case IDC_AUTO_BOOST: OnAutoBoostClicked(); return true;
    default: return OnTrayCommand(id);
    }
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (OnFollowMessage(message, wParam, lParam)) {
        result = 0;
        return true;
    }
    switch (message) {
    case WM_PAINT: OnPaint(); return true;
    case WM_ERASEBKGND:
        OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
        result = FALSE;
        return true;
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(icon); return true;
    case WM_NCHITTEST:
        if (!HitsDragStrip(Handle(), lParam)) return false;
        result = HTCAPTION;
        return true;
    case WM_ENDSESSION:
        if (wParam) ruleEngine.UndoBoost();
        return false;
    case WM_DESTROY: StopFollowing(); return false;
    // The messages of the probe worker and Drainex also get the default handling.
    case WM_PROBE_STEP:
        if (progress.GetPos() >= 20) {
            progress.SetPos(0);
        } else {
            progress.StepIt();
        }
        return false;
    case WM_PROBE_DONE: OnProbeDone(wParam, lParam); return false;
    case WM_RELEASE_RANGE: releaseRange = static_cast<int32_t>(lParam); return false;
    case WM_RELEASE_PROGRESS: OnReleaseProgress(lParam); return false;
    case WM_RELEASE_BEGIN: releaseDone = 0; return false;
    case WM_RELEASE_END:
        releaseDone = 1;
        WakeWaitLoop();
        return false;
    default: return false;
    }
}

void MainDialog::OnSuspendClicked() {
    if (!suspendCheck.GetCheck()) return;
    platform::User().MessageBoxA(Handle(), kSuspendWarning, Text().c_str(), MB_ICONINFORMATION);
}

// The restore is not offered from a boost click until the boost's undo.
void MainDialog::OfferRestore(bool offered) const {
    platform::User().EnableWindow(restoreButton.Handle(), offered ? TRUE : FALSE);
}

void MainDialog::OnRestore() {
    if (busy || !platform::User().IsWindowEnabled(restoreButton.Handle())) return;
    OfferSettingsRestore(Handle(), Text(), stateFolder.Use(Handle()));
}

void MainDialog::OnAutoBoostClicked() {
    WriteAutoBoostOption(stateFolder.Use(Handle()), autoBoostCheck.GetCheck());
}

void MainDialog::OnBoost() {
    if (busy) return;
    if (autoBoostCheck.GetCheck()) {
        StartWaiting();
        return;
    }
    // Before anything here changes the Z-order.
    ruleEngine.SetPlayerWindow(OrdinaryWindowBeneath(Handle()));
    StopFollowing();
    busy = 1;
    OfferRestore(false);
    indicator.StartAnimation();
    bool completed = OptimizeRun();
    busy = 0;
    if (!completed) {
        progress.SetPos(0);
        indicator.StopAnimation();
        OfferRestore(true);
        return;
    }
    Show(SW_HIDE);
    {
        BoostDialog boostDialog(nullptr);
        boostDialog.SetPacketSize(probeResult);
        boostDialog.SetProcessCount(ruleEngine.GetOptimizedProcessCount());
        boostDialog.SetSparedProgram(GameNames(ruleEngine.SparedProcesses()));
        boostDialog.SetBoostWatch([this] { ruleEngine.CheckStartedPrograms(); });
        boostDialog.DoModal();
    }
    Show(SW_SHOW);
    EndBoost();
    indicator.StopAnimation();
    OfferRestore(true);
}

bool MainDialog::OptimizeRun() {
    KeepBoostRecords(true);
    ApplyGraphicsProfile();
    if (!RunNetworkStep()) return false;
    RunProcessSteps();
    everyStepDone = true;
    return true;
}

void MainDialog::KeepBoostRecords(bool settingsRecordToo) {
    boostStateFolder = stateFolder.Use(Handle());
    const bool keeps = !boostStateFolder.empty();
    if (settingsRecordToo) settingsRecord.Start(keeps ? SettingsRecordPath(boostStateFolder) : std::string());
    journal.KeepAt(keeps ? RestoreJournalPath(boostStateFolder) : std::string());
}

void MainDialog::RunProcessSteps() {
    RunMemoryStep();
    ComposeDefaultScript();
    progress.SetPos(100);
}

void MainDialog::ApplyGraphicsProfile() {
    GraphicsTuner tuner(&settingsRecord);
    int profile;
    if (fastCheck.GetCheck()) {
        profile = 0;
    } else if (graphicsCheck.GetCheck()) {
        profile = 2;
    } else {
        ui::AppMessageBox("Optimize Option Not Selected!", MB_OK);
        return;
    }
    tuner.ApplyProfile(profile);
}

bool MainDialog::RunNetworkStep() {
    probeStopped = false;
    if (!networkTuner.StartProbe(probeHost, Handle())) {
        probeResult = 0;  // no worker, so no message will end the wait
        return true;
    }
    networkDone = 0;
    do {
        ui::PumpMessage();
        platform::Programs().Sleep(1);
    } while (!networkDone);
    return !probeStopped;
}

void MainDialog::OnProbeDone(WPARAM outcome, LPARAM size) {
    if (outcome != 1) {
        probeStopped = true;
        networkDone = 1;
        WakeWaitLoop();
        return;
    }
    probeResult = static_cast<int32_t>(size);
    std::string backupPath = boostStateFolder.empty() ? std::string() : MakeNetworkBackupPath(boostStateFolder);
    networkTuner.ApplyTcpTuning(static_cast<int>(size), backupPath);
    networkDone = 1;
    progress.SetPos(20);
    WakeWaitLoop();
}

// The wait loops' flags are set while a sent message is handled inside PumpMessage, which
// returns only for a queued message: without one, the loop would sleep until the busy
// indicator's next frame.
void MainDialog::WakeWaitLoop() { platform::User().PostMessageA(Handle(), WM_NULL, 0, 0); }

void MainDialog::RunMemoryStep() {
    releaseDone = 0;
    const DrainexLaunch launch = LaunchDrainex(exeFolder, 2, Handle(), drainexDigest);
    const platform::ScopedHandle helper(launch.process);
    if (launch.foreign && !foreignHelperReported) {
        foreignHelperReported = true;
        platform::User().MessageBoxA(Handle(), kForeignHelper, Text().c_str(), MB_ICONWARNING);
    }
    // The wait also ends when the helper could not start or ended without its end message.
    while (!releaseDone && helper &&
           platform::Programs().WaitForSingleObject(helper.Get(), 0) == WAIT_TIMEOUT) {
        ui::PumpMessage();
        platform::Programs().Sleep(1);
    }
}

void MainDialog::OnReleaseProgress(LPARAM position) {
    progress.SetPos(ReleaseBarPosition(static_cast<int32_t>(position), releaseRange));
}

void MainDialog::ComposeDefaultScript() {
    bool suspendUnidentified = suspendCheck.GetCheck();
    ruleEngine.Parse(ComposeRuleScript(suspendUnidentified));
    ruleEngine.Execute(0);
}

void MainDialog::EndBoost() {
    ruleEngine.UndoBoost();
    progress.SetPos(0);
}

void MainDialog::OnEraseBkgnd(HDC dc) { PaintSkinnedBackground(dc, Handle(), SkinBitmaps().mainBody.Get()); }

void MainDialog::OnPaint() {
    platform::IUser& user = platform::User();
    platform::IGdi& gdi = platform::Gdi();
    PAINTSTRUCT paint;
    HDC dc = user.BeginPaint(Handle(), &paint);
    if (user.IsIconic(Handle())) {
        Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
        RECT client = ClientRect();
        int x = (client.right - user.GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - user.GetSystemMetrics(SM_CYICON) + 1) / 2;
        user.DrawIcon(dc, x, y, icon);
    } else {
        gdi.SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = gdi.SelectObject(dc, Font());
        RECT anchor = indicator.RectIn(Handle());
        gdi.TextOutA(dc, anchor.left + 20, anchor.top + 1, kOptionsPrompt, static_cast<int>(sizeof(kOptionsPrompt) - 1));
        gdi.SelectObject(dc, oldFont);
    }
    user.EndPaint(Handle(), &paint);
}
