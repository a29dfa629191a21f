// The main window and its optimisation run on the simulated machine. The test
// thread plays the user; the program runs on a thread of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <thread>

#include "app/MainApplication.h"
#include "app/TrayIcon.h"
#include "app/Sha256.h"
#include "drainex/DrainexRun.h"
#include "drainex/ReleaseMessages.h"
#include "network/ProbeMessages.h"
#include "platform/Platform.h"
#include "sim/MachineTest.h"
#include "process/clsEnhance.h"
#include "resources/ResourceIds.h"
#include "restore/JournalLine.h"
#include "restore/StateFolder.h"

namespace {

using namespace win;
using namespace resources;

const char kBoostTitle[] = "Kestrava가 적용 되었습니다...";
const char kTcpipKey[] = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char kProgramFolder[] = "C:\\Games\\Kestrava";
const char kStateFolder[] = "C:\\ProgramData\\Kestrava";
const char kJournal[] = "C:\\ProgramData\\Kestrava\\BoostJournal.txt";
const char kBackup[] = "C:\\ProgramData\\Kestrava\\NetOpti\\2024년1월5일9시3분7초.nbk";
const char kRestoreQuestion[] =
    "Kestrava가 바꾼 그래픽 드라이버와 네트워크(TCP/IP) 설정을 처음 상태로 되돌리시겠습니까?";
const char kRestartSentence[] = "개를 되돌렸습니다. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다.";

const char kHelperImage[] = "MZ the Drainex built with this Vornel";

Sha256Digest DigestOf(const std::string& bytes) {
    Sha256 hash;
    hash.Update(bytes.data(), bytes.size());
    return hash.Finish();
}

// The payload size given to "ping -n 1 -f -l SIZE HOST".
int PingSize(const std::string& arguments) {
    size_t at = arguments.find("-l ");
    return at == std::string::npos ? 0 : std::atoi(arguments.c_str() + at + 3);
}

class MainWindowTest : public sim::MachineTest {
protected:
    void SetUp() override {
        machine.files.AddDirectory("C:\\Games\\Kestrava");
        machine.files.WriteFile("C:\\Games\\Kestrava\\Drainex.exe", kHelperImage);
        machine.memory.SetStatus(200ull << 20, 150ull << 20, 40);
        machine.programs.Install("Drainex.exe", [](const sim::Launch& launch) {
            return static_cast<DWORD>(RunDrainex(launch.arguments.c_str()));
        });
        SetPathMtu(1472);
        game = machine.processes.AddProcess("game.exe");
    }

    void TearDown() override {
        if (ui.joinable()) {
            if (HWND window = machine.user.FindWindowA(nullptr, kBoostTitle)) {
                machine.user.Click(machine.user.GetDlgItem(window, IDC_CLOSE));
            }
            if (main) machine.user.Click(Item(IDC_CLOSE));
            ui.join();
        }
    }

    // A ping that answers payloads up to mtu; it waits while gate is closed.
    void SetPathMtu(int mtu) {
        machine.programs.Install("ping", [this, mtu](const sim::Launch& launch) {
            while (!gateOpen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++pings;
            int size = PingSize(launch.arguments);
            std::string line = size <= mtu ? "Reply from 127.0.0.1: bytes=" + std::to_string(size) + " time<1ms TTL=128\n"
                                           : "Packet needs to be fragmented but DF set.\n";
            machine.files.WriteToHandle(launch.standardOutput, "\nPinging 127.0.0.1 with data:\n" + line);
            return 0u;
        });
    }

    void Start(const char* argv0 = "C:\\Games\\Kestrava\\Vornel.exe") {
        std::string path = argv0;
        ui = std::thread([path] {
            MainApplication application(DigestOf(kHelperImage));
            application.InitInstance(path.c_str());
        });
        main = machine.user.WaitForWindow("Kestrava");
        ASSERT_NE(main, nullptr);
    }

    HWND Item(int id) { return machine.user.GetDlgItem(main, id); }
    RECT RectOf(HWND window) {
        RECT rect{};
        machine.user.GetWindowRect(window, &rect);
        return rect;
    }
    // A click on the restore button that reaches the window even while the button is disabled.
    void CommandRestore() {
        machine.user.SendMessageA(main, WM_COMMAND, MAKELONG(IDC_RESTORE, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(Item(IDC_RESTORE)));
    }
    bool RestoreOffered() { return machine.user.IsWindowEnabled(Item(IDC_RESTORE)) != 0; }
    // A message box of the main window, captioned like it, with these buttons.
    void ExpectWindowBox(const sim::MessageBoxRecord& box, UINT buttons) {
        EXPECT_EQ(box.owner, main);
        EXPECT_EQ(box.caption, "Kestrava");
        EXPECT_EQ(box.type & 0xF, buttons) << box.text;
    }
    DWORD TcpDword(const char* name) {
        DWORD type = 0;
        std::vector<BYTE> data;
        DWORD value = 0;
        if (machine.registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpipKey, name, type, data) && data.size() == 4) {
            std::memcpy(&value, data.data(), 4);
        }
        return value;
    }
    // One boost with the fast profile, ended by closing its running window.
    void BoostOnce() {
        HWND running = BoostAndWait();
        ASSERT_NE(running, nullptr);
        CloseRunningWindow(running);
    }
    LRESULT SendTo(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return machine.user.SendMessageA(Item(id), message, wParam, lParam);
    }
    bool Checked(int id) { return SendTo(id, BM_GETCHECK) != 0; }
    int Bar() { return static_cast<int>(SendTo(IDC_PROGRESS, PBM_GETPOS)); }
    // Clicks a button and waits until the click has been handled.
    void ClickAndWait(int id) {
        HWND button = Item(id);
        machine.user.RunOnWindowThread(main, [&] { platform::User().SendMessageA(button, BM_CLICK, 0, 0); });
    }
    // Presses boost and waits for the running window.
    HWND BoostAndWait() {
        machine.user.Click(Item(IDC_BOOST));
        return machine.user.WaitForWindow(kBoostTitle, 20000);
    }
    // Closes the running window and waits for the end of the boost (the bar back at 0).
    void CloseRunningWindow(HWND window) {
        machine.user.Click(machine.user.GetDlgItem(window, IDC_CLOSE));
        ASSERT_TRUE(machine.user.WaitUntilGone(window));
        ASSERT_NE(machine.user.WaitForWindow("Kestrava"), nullptr);
        for (int wait = 0; wait < 500 && Bar() != 0; ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    std::thread ui;
    HWND main = nullptr;
    DWORD game = 0;
    std::atomic<bool> gateOpen{true};
    std::atomic<int> pings{0};
};

TEST_F(MainWindowTest, OpensAs500By367WithTheFastProfileChecked) {
    Start();
    RECT rect{};
    machine.user.GetWindowRect(main, &rect);
    EXPECT_EQ(rect.right - rect.left, 500);
    EXPECT_EQ(rect.bottom - rect.top, 367);
    EXPECT_TRUE(Checked(IDC_FAST));
    EXPECT_FALSE(Checked(IDC_GRAPHICS));
    EXPECT_FALSE(Checked(IDC_SUSPEND));
    EXPECT_EQ(Bar(), 0);
    RECT close{};
    machine.user.GetWindowRect(Item(IDC_CLOSE), &close);
    EXPECT_EQ(close.left - rect.left, 430);
    EXPECT_EQ(close.top - rect.top, 1);
    EXPECT_EQ(close.right - close.left, 43);
    EXPECT_EQ(close.bottom - close.top, 16);
}

TEST_F(MainWindowTest, ExactlyOneProfileIsCheckedAfterAnyClicks) {
    Start();
    std::srand(7);
    for (int click = 0; click < 40; ++click) {
        ClickAndWait(std::rand() % 2 ? IDC_FAST : IDC_GRAPHICS);
        EXPECT_NE(Checked(IDC_FAST), Checked(IDC_GRAPHICS)) << "after click " << click;
    }
    bool fastBefore = Checked(IDC_FAST);
    ClickAndWait(fastBefore ? IDC_FAST : IDC_GRAPHICS);  // the checked one hands the check over
    EXPECT_EQ(Checked(IDC_FAST), !fastBefore);
}

TEST_F(MainWindowTest, SuspendWarningShowsOnlyWhenTicked) {
    Start();
    ClickAndWait(IDC_SUSPEND);
    ASSERT_EQ(machine.user.MessageBoxes().size(), 1u);
    sim::MessageBoxRecord box = machine.user.MessageBoxes()[0];
    EXPECT_EQ(box.owner, main);
    EXPECT_EQ(box.caption, "Kestrava");
    EXPECT_EQ(box.type, MB_ICONINFORMATION);
    EXPECT_EQ(box.text.rfind("모든 프로세스에 이 옵션을 적용하게 됩니다.\n\n", 0), 0u);
    ClickAndWait(IDC_SUSPEND);
    EXPECT_EQ(machine.user.MessageBoxes().size(), 1u);
}

TEST_F(MainWindowTest, ProbeStepsCycleTheBarAndTheFoundSizeJumpsTo20) {
    Start();
    std::vector<int> positions;
    for (int ping = 0; ping < 25; ++ping) {
        machine.user.SendMessageA(main, WM_PROBE_STEP, 1500, 0);
        positions.push_back(Bar());
    }
    std::vector<int> expected;
    for (int i = 1; i <= 20; ++i) expected.push_back(i);
    for (int i : {0, 1, 2, 3, 4}) expected.push_back(i);
    EXPECT_EQ(positions, expected);
    machine.user.SendMessageA(main, WM_PROBE_DONE, 1, 1472);
    EXPECT_EQ(Bar(), 20);
}

TEST_F(MainWindowTest, ReleaseProgressFillsTheBarFrom20To100) {
    Start();
    machine.user.SendMessageA(main, WM_RELEASE_RANGE, 0, 512);
    machine.user.SendMessageA(main, WM_RELEASE_PROGRESS, 0, 0);
    EXPECT_EQ(Bar(), 20);
    machine.user.SendMessageA(main, WM_RELEASE_PROGRESS, 0, 256);
    EXPECT_EQ(Bar(), 60);
    machine.user.SendMessageA(main, WM_RELEASE_PROGRESS, 0, 512);
    EXPECT_EQ(Bar(), 100);
    machine.user.SendMessageA(main, WM_RELEASE_RANGE, 0, 0);
    machine.user.SendMessageA(main, WM_RELEASE_PROGRESS, 0, 0);
    EXPECT_EQ(Bar(), 20);
}

TEST_F(MainWindowTest, ABoostRunsEveryStepAndTheUndoFollowsTheRunningWindow) {
    machine.systemInfo.SetActiveProcessorMask(0xF);
    Start();
    HWND running = BoostAndWait();
    ASSERT_NE(running, nullptr);
    EXPECT_FALSE(machine.user.IsWindowVisible(main));
    EXPECT_EQ(pings.load(), 7);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(machine.registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpipKey, "TcpWindowSize", type, data));
    DWORD window = 0;
    std::memcpy(&window, data.data(), 4);
    EXPECT_EQ(window, 372320u);
    EXPECT_TRUE(machine.files.Exists(kBackup));
    EXPECT_EQ(machine.processes.PriorityOf(game), IDLE_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x8u);
    EXPECT_EQ(Bar(), 100);
    EXPECT_TRUE(machine.files.Exists(kJournal));

    CloseRunningWindow(running);
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_TRUE(machine.user.IsWindowVisible(main));
    EXPECT_EQ(machine.processes.PriorityOf(game), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0xFu);
    EXPECT_EQ(Bar(), 0);
}

// The window beneath the main window when boost is pressed is the game's; the running
// window names it.
TEST_F(MainWindowTest, TheProgramUsedBeforeTheBoostIsSparedAndNamed) {
    const DWORD played = machine.processes.AddProcess("D:\\Games\\windowed.exe");
    machine.user.CreateTopLevelWindow("GameWindow", "Game", played, true);
    Start();
    HWND running = BoostAndWait();
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(machine.processes.PriorityOf(played), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.PriorityOf(game), IDLE_PRIORITY_CLASS);
    bool named = false;
    machine.user.RunOnWindowThread(running, [&] {
        machine.user.InvalidateRect(running, nullptr, TRUE);
        machine.user.UpdateWindow(running);
        HDC dc = machine.user.GetDC(running);
        for (const sim::TextRecord& text : machine.gdi.Texts(dc)) named = named || text.text == "게임 : windowed.exe 제외";
        machine.user.ReleaseDC(running, dc);
    });
    EXPECT_TRUE(named);
    CloseRunningWindow(running);
}

TEST_F(MainWindowTest, ABoostClickDuringARunIsIgnored) {
    gateOpen = false;
    Start();
    machine.user.Click(Item(IDC_BOOST));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    machine.user.Click(Item(IDC_BOOST));  // handled inside the run's message pump
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    gateOpen = true;
    HWND running = machine.user.WaitForWindow(kBoostTitle, 20000);
    ASSERT_NE(running, nullptr);
    CloseRunningWindow(running);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(pings.load(), 7);
    EXPECT_EQ(machine.user.FindWindowA(nullptr, kBoostTitle), nullptr);
}

TEST_F(MainWindowTest, StoppingTheProbeEndsTheRunWithoutWritingAnything) {
    SetPathMtu(0);  // nothing replies
    machine.user.SetMessageBoxHandler([](const sim::MessageBoxRecord& box) {
        return (box.type & MB_YESNO) ? static_cast<int>(IDNO) : static_cast<int>(IDOK);
    });
    Start();
    machine.user.Click(Item(IDC_BOOST));
    for (int wait = 0; wait < 400 && machine.user.MessageBoxes().empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(machine.user.MessageBoxes().size(), 1u);
    // The run is over when a second boost is accepted again.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Bar(), 0);
    EXPECT_TRUE(machine.user.IsWindowVisible(main));
    EXPECT_EQ(machine.user.FindWindowA(nullptr, kBoostTitle), nullptr);
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_LOCAL_MACHINE, kTcpipKey));
    // The display values, written before the probe, are in the settings record; no network backup.
    EXPECT_FALSE(machine.files.Exists("C:\\ProgramData\\Kestrava\\NetOpti"));
    EXPECT_TRUE(machine.files.Exists("C:\\ProgramData\\Kestrava\\Settings"));
    for (const std::string& command : machine.programs.Launched()) {
        EXPECT_EQ(command.find("Drainex"), std::string::npos) << command;
    }
    EXPECT_EQ(machine.processes.PriorityOf(game), NORMAL_PRIORITY_CLASS);
}

// With no timer running, nothing but the end message itself can end the memory wait: the
// helper pauses after its first message, so that the repaints still queued from the boost
// click and the probe are done, and then reports no progress, which would queue another.
TEST_F(MainWindowTest, TheMemoryWaitEndsWithTheEndMessageAlone) {
    machine.programs.Install("Drainex.exe", [this](const sim::Launch& launch) {
        HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(std::atoi(launch.arguments.c_str() + 2)));
        machine.user.SendMessageA(window, WM_RELEASE_BEGIN, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        machine.user.SendMessageA(window, WM_RELEASE_RANGE, 0, 0);
        machine.user.SendMessageA(window, WM_RELEASE_END, 0, 0);
        return 0u;
    });
    gateOpen = false;
    Start();
    machine.user.Click(Item(IDC_BOOST));
    HWND indicator = Item(IDC_INDICATOR);
    for (int wait = 0; wait < 500 && machine.user.Timers(indicator).empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (HWND window : machine.user.Children(main)) {
        for (const auto& timer : machine.user.Timers(window)) machine.user.KillTimer(window, timer.first);
    }
    gateOpen = true;
    HWND running = machine.user.WaitForWindow(kBoostTitle, 5000);
    EXPECT_NE(running, nullptr) << "the memory wait went on after its end message";
    if (running == nullptr) {  // woken from outside, so that the run can end
        machine.user.PostMessageA(main, WM_NULL, 0, 0);
        running = machine.user.WaitForWindow(kBoostTitle, 5000);
    }
    ASSERT_NE(running, nullptr);
    CloseRunningWindow(running);
}

TEST_F(MainWindowTest, NoBackslashInArgv0StartsDrainexFromTheRoot) {
    machine.files.WriteFile("\\Drainex.exe", kHelperImage);
    Start("Vornel.exe");
    HWND running = BoostAndWait();
    ASSERT_NE(running, nullptr);
    bool started = false;
    for (const std::string& command : machine.programs.Launched()) {
        if (command.rfind("\"\\Drainex.exe\" 2 ", 0) == 0) started = true;
    }
    EXPECT_TRUE(started);
    CloseRunningWindow(running);
}

TEST_F(MainWindowTest, AMissingHelperDoesNotHangTheRun) {
    machine.programs.Install("Drainex.exe", nullptr);
    Start();
    HWND running = BoostAndWait();
    ASSERT_NE(running, nullptr);
    CloseRunningWindow(running);
}

// A Drainex.exe other than the one built with this program is never started; each boost
// still runs to its running window, and the first one alone says why the memory step was left out.
TEST_F(MainWindowTest, AForeignHelperNeverRunsTheBoostsFinishAndTheBoxShowsOnce) {
    machine.files.WriteFile("C:\\Games\\Kestrava\\Drainex.exe", std::string(kHelperImage) + " and more");
    Start();
    BoostOnce();
    BoostOnce();
    ASSERT_FALSE(machine.programs.Launched().empty());  // the pings
    for (const std::string& command : machine.programs.Launched()) {
        EXPECT_EQ(command.find("Drainex"), std::string::npos) << command;
    }
    ASSERT_EQ(machine.user.MessageBoxes().size(), 1u);
    const sim::MessageBoxRecord box = machine.user.MessageBoxes()[0];
    ExpectWindowBox(box, MB_OK);
    EXPECT_EQ(box.type, MB_ICONWARNING);
    EXPECT_EQ(box.text, "Drainex.exe 파일이 이 Vornel.exe와 함께 배포된 파일이 아닙니다.\n메모리 정리를 건너뜁니다.");
}

TEST_F(MainWindowTest, StartUpPutsBackABoostOfAKilledCopyAndSaysSoOnce) {
    machine.systemInfo.SetActiveProcessorMask(0xF);
    const DWORD killed = machine.processes.AddProcess("C:\\Games\\Kestrava\\Vornel.exe");
    const RestoreRecord record{game, 0x38, NORMAL_PRIORITY_CLASS, 0xF};
    OpenStateFolder(kProgramFolder, false);
    machine.files.WriteFile(kJournal, std::string(kJournalVersionLine) + "\n" +
                                          OwnerLine({killed, ProcessCreationTime(killed), "vornel.exe"}) + "\n" +
                                          RecordLine({game, ProcessCreationTime(game), "game.exe"}, record) + "\n");
    machine.processes.EndProcess(killed);
    clsEnhance enhance;
    enhance.SuspendProcess(game);
    enhance.SetProcessPriorityToLow(game);
    DWORD previousMask = 0;
    enhance.SetProcessAffinity(game, 0x8, previousMask);
    bool mainWindowOpen = false;
    machine.user.SetMessageBoxHandler([&](const sim::MessageBoxRecord&) {
        mainWindowOpen = machine.user.FindWindowA(nullptr, "Kestrava") != nullptr;
        return IDOK;
    });

    Start();
    const std::vector<sim::MessageBoxRecord> boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Kestrava");
    EXPECT_EQ(boxes[0].text, "이전 부스트가 정상적으로 끝나지 않아, 일시중지되었던 프로그램과 설정을 되돌렸습니다.");
    EXPECT_FALSE(mainWindowOpen);
    EXPECT_EQ(machine.processes.SuspendCount(machine.processes.ThreadsOf(game)[0]), 0u);
    EXPECT_EQ(machine.processes.PriorityOf(game), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0xFu);
    EXPECT_FALSE(machine.files.Exists(kJournal));
}

TEST_F(MainWindowTest, TheRestoreButtonSitsUnderTheBoostButtonClearOfEverythingWithATip) {
    Start();
    RECT window = RectOf(main);
    RECT restore = RectOf(Item(IDC_RESTORE));
    RECT boost = RectOf(Item(IDC_BOOST));
    EXPECT_EQ(restore.right - restore.left, 70);
    EXPECT_EQ(restore.bottom - restore.top, 22);
    EXPECT_GT(restore.top, boost.bottom);
    EXPECT_NEAR(restore.left + restore.right, boost.left + boost.right, 1);  // centred, to the pixel
    EXPECT_GE(restore.left, window.left + 2);
    EXPECT_LE(restore.right, window.right - 2);
    EXPECT_LE(restore.bottom, window.bottom - 2);
    for (HWND child : machine.user.Children(main)) {
        if (child == Item(IDC_RESTORE) || !machine.user.IsWindowVisible(child)) continue;
        RECT other = RectOf(child);
        bool apart = other.right <= restore.left || restore.right <= other.left || other.bottom <= restore.top ||
                     restore.bottom <= other.top;
        EXPECT_TRUE(apart) << "overlaps control " << machine.user.GetDlgCtrlID(child);
    }
    EXPECT_TRUE(RestoreOffered());
    EXPECT_NE(machine.user.ToolTipText(Item(IDC_RESTORE)), "");
}

TEST_F(MainWindowTest, RestoreWithNothingRecordedSaysSoAndAsksNothing) {
    Start();
    ClickAndWait(IDC_RESTORE);
    const std::vector<sim::MessageBoxRecord> boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    ExpectWindowBox(boxes[0], MB_OK);
    EXPECT_EQ(boxes[0].text, "되돌릴 설정이 없습니다.");
}

TEST_F(MainWindowTest, RestoreAsksFirstAndNoLeavesTheSettingsAsTheBoostLeftThem) {
    machine.user.SetMessageBoxHandler([](const sim::MessageBoxRecord& box) {
        return (box.type & MB_YESNO) ? static_cast<int>(IDNO) : static_cast<int>(IDOK);
    });
    Start();
    BoostOnce();
    ClickAndWait(IDC_RESTORE);
    const std::vector<sim::MessageBoxRecord> boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    ExpectWindowBox(boxes[0], MB_YESNO);
    EXPECT_EQ(boxes[0].text, kRestoreQuestion);
    EXPECT_EQ(TcpDword("TcpWindowSize"), 372320u);
    EXPECT_TRUE(machine.files.Exists(kBackup));
}

TEST_F(MainWindowTest, RestoreOnYesReportsHowManySettingsCameBack) {
    Start();
    BoostOnce();
    ClickAndWait(IDC_RESTORE);  // the sim answers Yes
    const std::vector<sim::MessageBoxRecord> boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, kRestoreQuestion);
    ExpectWindowBox(boxes[1], MB_OK);
    const std::string& report = boxes[1].text;
    ASSERT_EQ(report.rfind("설정 ", 0), 0u) << report;
    size_t digits = std::strlen("설정 ");
    size_t count = report.find_first_not_of("0123456789", digits);
    EXPECT_GT(count, digits) << report;
    EXPECT_EQ(report.substr(count), kRestartSentence) << report;
}

TEST_F(MainWindowTest, RestoreIsRefusedDuringARunAndWhileTheBoostIsApplied) {
    gateOpen = false;
    Start();
    machine.user.Click(Item(IDC_BOOST));
    for (int wait = 0; wait < 500 && RestoreOffered(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(RestoreOffered());
    CommandRestore();  // handled inside the run's message pump
    gateOpen = true;
    HWND running = machine.user.WaitForWindow(kBoostTitle, 20000);
    ASSERT_NE(running, nullptr);
    EXPECT_FALSE(RestoreOffered());
    CommandRestore();
    EXPECT_TRUE(machine.user.MessageBoxes().empty());
    CloseRunningWindow(running);
    EXPECT_TRUE(RestoreOffered());
    ClickAndWait(IDC_RESTORE);
    EXPECT_EQ(machine.user.MessageBoxes().size(), 2u);
}

// What a boost and a restore keep goes to the state folder: nothing appears beside the
// program, and what earlier builds left there is neither read nor touched.
TEST_F(MainWindowTest, NothingIsKeptBesideTheProgramAndEarlierFilesThereStayUnread) {
    const DWORD killed = machine.processes.AddProcess("C:\\Games\\Kestrava\\Vornel.exe");
    const std::string oldJournal = std::string(kProgramFolder) + "\\Restore\\BoostJournal.txt";
    const std::string oldBackup = std::string(kProgramFolder) + "\\Restore\\NetOpti\\2020년1월1일1시1분1초.nbk";
    machine.files.AddDirectory(std::string(kProgramFolder) + "\\Restore\\NetOpti");
    const std::string journal = std::string(kJournalVersionLine) + "\n" +
                                OwnerLine({killed, ProcessCreationTime(killed), "vornel.exe"}) + "\n";
    machine.files.WriteFile(oldJournal, journal);
    machine.files.WriteFile(oldBackup, "SackOpts\r\n1\r\n");
    machine.processes.EndProcess(killed);

    Start();
    BoostOnce();
    ClickAndWait(IDC_RESTORE);  // the sim answers Yes
    ASSERT_EQ(machine.user.MessageBoxes().size(), 2u);  // the question and the report: no recovery
    EXPECT_EQ(machine.files.Read(oldJournal), journal);
    EXPECT_TRUE(machine.files.Exists(oldBackup));
    WIN32_FIND_DATAA found{};
    HANDLE search = machine.files.FindFirstFileA((std::string(kProgramFolder) + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::set<std::string> besideTheProgram;
    do besideTheProgram.insert(found.cFileName);
    while (machine.files.FindNextFileA(search, &found));
    machine.files.FindClose(search);
    EXPECT_EQ(besideTheProgram, (std::set<std::string>{"drainex.exe", "restore"}));
    EXPECT_TRUE(machine.files.Exists(std::string(kStateFolder) + "\\Restored"));
}

// A folder a user made first (owned by the user) or a link is renamed aside with what it
// holds, once, and a fresh one is used; one message box says what went where.
class RefusedStateFolderTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RefusedStateFolderTest, IsMovedAsideAndAFreshOneUsed) {
    const bool linked = GetParam();
    const std::string aside = std::string(kStateFolder) + ".refused-1";
    if (linked) {
        OpenStateFolder(kProgramFolder, false);
        machine.files.MakeLink(kStateFolder);
    }
    machine.files.AddDirectory(std::string(kStateFolder) + "\\NetOpti");
    machine.files.WriteFile(kJournal, "planted");

    Start();
    BoostOnce();
    const std::vector<sim::MessageBoxRecord> boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    for (const std::string part : {std::string(kStateFolder) + "\n", aside, std::string(linked ? "재분석 지점" : "소유자")}) {
        EXPECT_NE(boxes[0].text.find(part), std::string::npos) << boxes[0].text;
    }
    EXPECT_EQ(boxes[0].text.find("소유권"), std::string::npos);  // never the advice to take ownership
    EXPECT_EQ(machine.files.Read(aside + "\\BoostJournal.txt"), "planted");
    EXPECT_EQ(machine.files.SecurityOf(kStateFolder).owner, sim::Files::kAdministratorsSid);
    EXPECT_TRUE(machine.files.Exists(kBackup));
    EXPECT_FALSE(machine.files.Exists(kJournal));  // the boost's own, gone with its undo
}

INSTANTIATE_TEST_SUITE_P(SquattedOrLinked, RefusedStateFolderTest, ::testing::Bool());

// Where it cannot be moved either, it is not used at all: one message box names it and says
// why; the boost runs without journal, record or backup, and the restore says it cannot
// read its records.
TEST_F(MainWindowTest, AStateFolderThatCannotBeMovedAsideIsNotUsedAndTheBoostStillRuns) {
    const std::string planted = std::string(kStateFolder) + "\\NetOpti\\2020년1월1일1시1분1초.nbk";
    machine.files.AddDirectory(std::string(kStateFolder) + "\\NetOpti");
    machine.files.WriteFile(planted, "SackOpts\r\n1\r\n");
    machine.files.DenyAccess(kStateFolder);

    Start();
    BoostOnce();
    ClickAndWait(IDC_RESTORE);
    const std::vector<sim::MessageBoxRecord> boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].text.find(kStateFolder), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[1].text, "Kestrava 기록 폴더를 쓸 수 없어 설정 기록을 읽을 수 없습니다.");
    EXPECT_EQ(TcpDword("TcpWindowSize"), 372320u);  // the boost ran
    EXPECT_TRUE(machine.files.Exists(planted));
    EXPECT_FALSE(machine.files.Exists(kBackup));
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_FALSE(machine.files.Exists(std::string(kStateFolder) + "\\Settings"));
    EXPECT_FALSE(machine.files.Exists(std::string(kStateFolder) + ".refused-1"));
    EXPECT_FALSE(machine.files.Exists(std::string(kProgramFolder) + "\\Restore"));
}

// With "게임을 시작하면 자동으로 적용" ticked, the boost waits behind the notification icon
// for a game, follows it and is undone when the game has exited.
class FollowingBoostTest : public MainWindowTest {
protected:
    void StartWaiting() {
        machine.user.SetDesktopSize(1024, 768);
        Start();
        ClickAndWait(IDC_AUTO_BOOST);
        machine.user.Click(Item(IDC_BOOST));
        ASSERT_TRUE(WaitFor([&] { return Icon().tip == kWaitingTip; }));
        EXPECT_FALSE(machine.user.IsWindowVisible(main));
    }
    sim::NotifyIcon Icon() {
        sim::NotifyIcon icon;
        machine.shell.FindIcon(main, 1, icon);
        return icon;
    }
    // A program with a window of this size at the top-left corner of the screen.
    DWORD StartProgram(const char* name, DWORD parent = 0, int width = 1024, int height = 768, DWORD reusedId = 0) {
        const DWORD id = parent ? machine.processes.StartChild(parent, name, reusedId)
                                : machine.processes.AddProcess(name, 1, reusedId);
        const HWND window = machine.user.CreateTopLevelWindow("Window", name, id, true);
        machine.user.SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER);
        windows[id] = window;
        return id;
    }
    void EndProgram(DWORD id) {
        machine.user.DestroyWindow(windows[id]);
        machine.processes.EndProcess(id);
    }
    bool Throttled() { return machine.processes.PriorityOf(game) == IDLE_PRIORITY_CLASS; }
    template <typename Condition>
    bool WaitFor(Condition condition, int milliseconds = 8000) {
        for (int waited = 0; waited < milliseconds; waited += 20) {
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return condition();
    }
    void ExpectSpared(DWORD id) {
        EXPECT_EQ(machine.processes.PriorityOf(id), NORMAL_PRIORITY_CLASS);
        EXPECT_EQ(machine.processes.AffinityOf(id), 0xFu);
    }

    static constexpr const char* kWaitingTip = "Kestrava: 게임을 기다리는 중";
    std::map<DWORD, HWND> windows;
};

TEST_F(FollowingBoostTest, FollowsEachGameUntilAllHaveExitedThenWaitsAgain) {
    StartWaiting();
    const DWORD first = StartProgram("first.exe");
    ASSERT_TRUE(WaitFor([&] { return Throttled(); }));
    ExpectSpared(first);
    EXPECT_EQ(machine.processes.AffinityOf(game), 0x8u);
    EXPECT_EQ(pings.load(), 7);  // every step, as the button does
    EXPECT_TRUE(machine.files.Exists(kJournal));
    EXPECT_EQ(machine.user.FindWindowA(nullptr, kBoostTitle), nullptr);  // nothing over the game
    EXPECT_FALSE(machine.user.IsWindowVisible(main));
    EXPECT_EQ(Icon().tip, "Kestrava: 부스트 적용 중 - first.exe");
    EXPECT_EQ(Icon().balloon, "부스트를 적용했습니다: first.exe");

    const DWORD child = machine.processes.StartChild(first, "first-helper.exe");
    const DWORD second = StartProgram("second.exe");
    ASSERT_TRUE(WaitFor([&] { return Icon().tip.find("second.exe") != std::string::npos; }));
    ExpectSpared(second);
    EndProgram(first);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_TRUE(Throttled()) << "the second game still runs";
    EndProgram(second);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_TRUE(Throttled()) << "a process the first game started still runs";
    machine.processes.EndProcess(child);
    ASSERT_TRUE(WaitFor([&] { return !Throttled(); }));
    EXPECT_EQ(machine.processes.AffinityOf(game), 0xFu);
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_TRUE(WaitFor([&] { return Icon().tip == kWaitingTip; }));

    const DWORD again = StartProgram("first.exe");
    ASSERT_TRUE(WaitFor([&] { return Throttled(); }));
    ExpectSpared(again);
    EXPECT_EQ(pings.load(), 7) << "a later boost probes no more";
    EXPECT_TRUE(machine.files.Exists(kJournal));
}

TEST_F(FollowingBoostTest, OnlyAGameWindowOrALaunchersGameStartsTheBoost) {
    StartWaiting();
    const DWORD launcher = machine.processes.AddProcess("steam.exe");
    StartProgram("notepad.exe", 0, 640, 480);      // no launcher started it
    StartProgram("updater.exe", launcher, 400, 300);  // too small for a game
    std::this_thread::sleep_for(std::chrono::milliseconds(4500));
    EXPECT_FALSE(Throttled());
    EXPECT_EQ(pings.load(), 0);
    EXPECT_EQ(Icon().tip, kWaitingTip);

    const DWORD windowed = StartProgram("windowed.exe", launcher, 800, 600);
    ASSERT_TRUE(WaitFor([&] { return Throttled(); }));
    ExpectSpared(windowed);
}

TEST_F(FollowingBoostTest, AGameThatGotTheIdOfAnEndedProgramIsStillNew) {
    const DWORD tool = machine.processes.AddProcess("tool.exe");
    StartWaiting();
    machine.processes.EndProcess(tool);
    const DWORD game = StartProgram("first.exe", 0, 1024, 768, tool);
    ASSERT_EQ(game, tool);
    ASSERT_TRUE(WaitFor([&] { return Throttled(); }));
    ExpectSpared(game);
}

TEST_F(FollowingBoostTest, ExitFromTheIconsMenuEndsTheBoostFirst) {
    StartWaiting();
    StartProgram("first.exe");
    ASSERT_TRUE(WaitFor([&] { return Throttled(); }));
    machine.user.SetMenuHandler([](const std::vector<sim::MenuItem>&) { return IDM_EXIT; });
    machine.user.PostMessageA(main, TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP);
    ui.join();
    main = nullptr;
    EXPECT_FALSE(Throttled());
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_EQ(machine.shell.IconCount(), 0u);
}

TEST_F(FollowingBoostTest, AnExitWhileTheBoostIsAppliedEndsTheProgramOnceItIsUndone) {
    StartWaiting();
    gateOpen = false;  // the probe's first ping waits
    StartProgram("first.exe");
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    machine.user.PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    gateOpen = true;
    ui.join();
    main = nullptr;
    EXPECT_GT(pings.load(), 0);
    EXPECT_FALSE(Throttled());
    EXPECT_FALSE(machine.files.Exists(kJournal));
    EXPECT_EQ(machine.shell.IconCount(), 0u);
}

TEST_F(FollowingBoostTest, TheUndoCommandWaitsAgainAndTheIconComesBackWithTheShell) {
    StartWaiting();
    machine.user.SendMessageA(main, WM_COMMAND, IDM_APPLY_NOW, 0);
    EXPECT_TRUE(Throttled());
    EXPECT_EQ(Icon().tip, "Kestrava: 부스트 적용 중");
    machine.user.SendMessageA(main, WM_COMMAND, IDM_UNDO, 0);
    EXPECT_FALSE(Throttled());
    EXPECT_EQ(Icon().tip, kWaitingTip);

    machine.shell.SetTaskbarPresent(false);
    machine.shell.SetTaskbarPresent(true);
    machine.user.SendMessageA(main, machine.user.RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(Icon().tip, kWaitingTip);
    machine.user.SendMessageA(main, WM_COMMAND, IDM_OPEN, 0);
    EXPECT_TRUE(machine.user.IsWindowVisible(main));
}

TEST_F(MainWindowTest, TheFollowingOptionIsRememberedAndAForgedLineIsOff) {
    const std::string options = std::string(kStateFolder) + "\\Options.txt";
    Start();
    EXPECT_FALSE(Checked(IDC_AUTO_BOOST));
    ClickAndWait(IDC_AUTO_BOOST);
    machine.user.Click(Item(IDC_CLOSE));
    ui.join();
    Start();
    EXPECT_TRUE(Checked(IDC_AUTO_BOOST));
    machine.user.Click(Item(IDC_CLOSE));
    ui.join();
    machine.files.WriteFile(options, "auto boost on; del *.*\r\n");
    Start();
    EXPECT_FALSE(Checked(IDC_AUTO_BOOST));
}

TEST(ExecutableFolder, IsArgv0UpToItsLastBackslash) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Kestrava\\Vornel.exe"), "C:\\Program Files\\Kestrava");
    EXPECT_EQ(FolderOfPath("Vornel.exe"), "");
    EXPECT_EQ(FolderOfPath("C:\\Vornel.exe"), "C:");
}

}  // namespace
