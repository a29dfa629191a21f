#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "network/NetworkTuner.h"
#include "network/ProbeMessages.h"
#include "platform/Platform.h"
#include "sim/MachineTest.h"

namespace {

using win::HKEY_LOCAL_MACHINE;

const std::string kNt = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kFolder = "C:\\Games\\Kestrava";
const std::string kAskText =
    "네트워크 상태가 안정적이지 않습니다.\n계속 최적화를 하셔도 원하는 결과를 얻지 못할 수 있습니다.\n\n"
    "계속 하시겠습니까?\n('아니오' 를 누르면 최적화를 중단합니다)";
const std::string kStoppedText = "네트워크 상태가 안정적이지 않습니다.\n최적화를 중지합니다.";
const std::string kTool = "C:\\Tools\\tool.exe";

// A ping on a path that carries payloads up to mtu unfragmented, as Windows prints it.
void InstallPing(sim::Machine& machine, int mtu) {
    machine.programs.Install("ping", [&machine, mtu](const sim::Launch& launch) {
        int count = 0;
        int size = 0;
        char host[300] = {};
        if (launch.showCommand != win::SW_HIDE ||
            std::sscanf(launch.arguments.c_str(), "-n %d -f -l %d %299s", &count, &size, host) != 3) {
            return 1u;
        }
        std::string out = "\r\nPinging " + std::string(host) + " with " + std::to_string(size) + " bytes of data:\r\n";
        out += size <= mtu ? "Reply from " + std::string(host) + ": bytes=" + std::to_string(size) + " time<1ms TTL=57\r\n"
                           : std::string("Packet needs to be fragmented but DF set.\r\n");
        out += "\r\nPing statistics for " + std::string(host) + ":\r\n    Packets: Sent = 1\r\n";
        machine.files.WriteToHandle(launch.standardOutput, out);
        return 0u;
    });
}

// The main dialog's side of the probe: records the reports and, when a size
// arrives, tunes and backs up as the dialog does.
struct Dialog {
    NetworkTuner tuner;
    std::vector<int> steps;
    std::vector<int> replies;
    win::WPARAM result = 0;
    win::LPARAM size = 0;
    bool done = false;
    std::string backupPath;

    static Dialog* current;
    static win::LRESULT KAPI Procedure(win::HWND, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
        if (message == WM_PROBE_STEP) {
            current->steps.push_back(static_cast<int>(wParam));
            current->replies.push_back(static_cast<int>(lParam));
        } else if (message == WM_PROBE_DONE) {
            current->result = wParam;
            current->size = lParam;
            if (wParam == 1) {
                current->backupPath = MakeNetworkBackupPath(kFolder + "\\Restore");
                current->tuner.ApplyTcpTuning(static_cast<int>(lParam), current->backupPath);
            }
            current->done = true;
        }
        return 0;
    }

    // Starts the probe and dispatches messages until it reports its end.
    void Run(sim::Machine& machine, const std::string& host) {
        current = this;
        win::HWND window = machine.user.CreateTopLevelWindow("Dialog", "Kestrava", 1, true, &Procedure);
        ASSERT_TRUE(tuner.StartProbe(host, window));
        while (!done) {
            win::MSG message;
            if (platform::User().PeekMessageA(&message, nullptr, 0, 0, win::PM_REMOVE)) {
                platform::User().DispatchMessageA(&message);
            } else {
                platform::Programs().Sleep(1);
            }
        }
        machine.programs.JoinAll();  // the worker ends once its last message is handled
        platform::User().DestroyWindow(window);
        current = nullptr;
    }
};
Dialog* Dialog::current = nullptr;

using MtuProbe = sim::MachineTest;

TEST_F(MtuProbe, FindsAnEthernetPathInSevenStepsAndTunesFromIt) {
    machine.files.AddDirectory(kFolder + "\\Restore");
    InstallPing(machine, 1472);
    Dialog dialog;
    dialog.Run(machine, kDefaultProbeHost);

    EXPECT_EQ(dialog.steps, (std::vector<int>{1500, 1490, 1480, 1470, 1471, 1472, 1473}));
    EXPECT_EQ(dialog.replies, (std::vector<int>{0, 0, 0, 1, 1, 1, 0}));
    EXPECT_EQ(dialog.result, 1u);
    EXPECT_EQ(dialog.size, 1472);
    ASSERT_FALSE(machine.programs.Launched().empty());
    EXPECT_EQ(machine.programs.Launched()[0], "ping -n 1 -f -l 1500 168.126.63.1");
    EXPECT_EQ(machine.programs.LaunchedApplications()[0], "C:\\WINDOWS\\system32\\ping.exe");
    EXPECT_TRUE(machine.user.MessageBoxes().empty());

    win::DWORD type = 0;
    std::vector<win::BYTE> data;
    ASSERT_TRUE(machine.registry.ReadValue(HKEY_LOCAL_MACHINE, kNt, "TcpWindowSize", type, data));
    EXPECT_EQ(data, (std::vector<win::BYTE>{0x60, 0xAE, 0x05, 0x00}));  // 372320
    EXPECT_EQ(dialog.backupPath, kFolder + "\\Restore\\NetOpti\\2024년1월5일9시3분7초.nbk");
    EXPECT_EQ(machine.files.Read(dialog.backupPath).rfind("SackOpts\r\nDefault\r\n", 0), 0u);
    // The last attempt's output stays behind.
    EXPECT_NE(machine.files.Read("C:\\temp.ping").find("fragmented"), std::string::npos);

    EXPECT_EQ(machine.files.OpenStreams(), 0u);
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(MtuProbe, NarrowPathAsksOnceAndNoStopsAt1390) {
    machine.files.AddDirectory(kFolder);
    InstallPing(machine, 1350);
    Dialog dialog;
    machine.user.SetMessageBoxHandler([](const sim::MessageBoxRecord&) { return static_cast<int>(win::IDNO); });
    dialog.Run(machine, kDefaultProbeHost);

    EXPECT_EQ(dialog.result, 2u);
    EXPECT_EQ(dialog.size, 1390);
    EXPECT_EQ(dialog.steps.size(), 11u);
    auto boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kAskText);
    EXPECT_EQ(boxes[0].caption, "Kestrava");
    EXPECT_EQ(boxes[0].type, win::MB_YESNO | win::MB_ICONINFORMATION);
    EXPECT_NE(boxes[0].owner, nullptr);
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_LOCAL_MACHINE, kNt));
    EXPECT_FALSE(machine.files.Exists(kFolder + "\\Restore"));
}

TEST_F(MtuProbe, NoPingAtAllEndsBelowZeroWithTheStopNotice) {
    Dialog dialog;
    dialog.Run(machine, kDefaultProbeHost);

    EXPECT_EQ(dialog.result, 2u);
    EXPECT_EQ(dialog.size, -10);
    EXPECT_EQ(dialog.steps.size(), 151u);
    EXPECT_EQ(dialog.steps.back(), 0);
    EXPECT_EQ(std::count(dialog.replies.begin(), dialog.replies.end(), 1), 0);
    auto boxes = machine.user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, kAskText);
    EXPECT_EQ(boxes[1].text, kStoppedText);
    EXPECT_EQ(boxes[1].caption, "Kestrava");
    EXPECT_EQ(boxes[1].type, win::MB_ICONINFORMATION);
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(MtuProbe, HostTooLongForTheCommandBufferIsRefusedWithoutAPing) {
    InstallPing(machine, 1472);
    // "ping -n 1 -f -l " + the widest size (11 characters) + " " + host must stay within 259.
    Dialog refused;
    refused.Run(machine, std::string(232, 'h'));
    EXPECT_EQ(refused.result, 2u);
    EXPECT_EQ(refused.size, 0);
    EXPECT_TRUE(refused.steps.empty());
    EXPECT_TRUE(machine.programs.Launched().empty());
    EXPECT_TRUE(machine.user.MessageBoxes().empty());

    Dialog accepted;
    accepted.Run(machine, std::string(231, 'h'));
    EXPECT_EQ(accepted.result, 1u);
    EXPECT_EQ(accepted.size, 1472);
}

using RunCaptured = sim::MachineTest;

TEST_F(RunCaptured, RunsHiddenIntoTheOutputFileAndReleasesEverything) {
    std::vector<win::UINT> shows;
    machine.programs.Install("tool", [this, &shows](const sim::Launch& launch) {
        shows.push_back(launch.showCommand);
        platform::Programs().Sleep(20);  // the caller must wait for the end
        machine.files.WriteToHandle(launch.standardOutput, "done\r\n");
        return 0u;
    });
    machine.files.WriteFile("C:\\temp.ping", "stale output\r\n");
    NetworkTuner tuner;

    EXPECT_TRUE(tuner.RunCaptured(kTool, "tool once"));
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "done\r\n");
    EXPECT_EQ(shows, std::vector<win::UINT>{win::SW_HIDE});

    // 259 characters fit the command buffer, 260 don't and are not run cut short.
    EXPECT_TRUE(tuner.RunCaptured(kTool, "tool " + std::string(254, 'x')));
    EXPECT_FALSE(tuner.RunCaptured(kTool, "tool " + std::string(255, 'x')));
    EXPECT_EQ(machine.programs.Launched().size(), 2u);

    // A program that can't start, or none at all, leaves an empty output file.
    EXPECT_FALSE(tuner.RunCaptured("C:\\Tools\\missing.exe", "missing"));
    EXPECT_TRUE(machine.files.Exists("C:\\temp.ping"));
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "");
    machine.files.WriteFile("C:\\temp.ping", "stale output\r\n");
    EXPECT_FALSE(tuner.RunCaptured("", "tool"));
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "");
    EXPECT_EQ(machine.programs.Launched().size(), 3u);

    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(RunCaptured, NothingRunsWithoutAFreshOutputFile) {
    machine.programs.Install("tool", [](const sim::Launch&) { return 0u; });
    machine.files.DenyAccess("C:\\temp.ping");
    NetworkTuner tuner;
    EXPECT_FALSE(tuner.RunCaptured(kTool, "tool"));
    EXPECT_TRUE(machine.programs.Launched().empty());
    EXPECT_EQ(tuner.ProbeSize(1472), 0);
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

// A junction a user left at the name is neither followed nor removed: the attempt counts
// as no reply.
TEST_F(RunCaptured, ALinkAtTheOutputNameIsNotFollowed) {
    machine.programs.Install("tool", [](const sim::Launch&) { return 0u; });
    machine.files.AddDirectory("C:\\temp.ping");
    machine.files.MakeLink("C:\\temp.ping");
    NetworkTuner tuner;
    EXPECT_FALSE(tuner.RunCaptured(kTool, "tool"));
    EXPECT_EQ(tuner.ProbeSize(1472), 0);
    EXPECT_TRUE(machine.programs.Launched().empty());
    EXPECT_TRUE(machine.files.IsDirectory("C:\\temp.ping"));
}

// On the NT family the output file is made anew for SYSTEM and Administrators alone, owned
// by Administrators; on the 9x family, which has no file security, as before.
TEST_F(RunCaptured, TheOutputFileIsLeftToAdministratorsAlone) {
    using Ace = sim::Files::Ace;
    machine.programs.Install("tool", [](const sim::Launch&) { return 0u; });
    machine.files.WriteFile("C:\\temp.ping", "left by an earlier build\r\n");
    NetworkTuner tuner;
    ASSERT_TRUE(tuner.RunCaptured(kTool, "tool"));
    const sim::Files::Security security = machine.files.SecurityOf("C:\\temp.ping");
    EXPECT_EQ(security.owner, sim::Files::kAdministratorsSid);
    EXPECT_EQ(security.dacl, (std::vector<Ace>{{sim::Files::kSystemSid, win::FILE_ALL_ACCESS, 0},
                                               {sim::Files::kAdministratorsSid, win::FILE_ALL_ACCESS, 0}}));
    EXPECT_TRUE(security.control & win::SE_DACL_PROTECTED);

    machine.systemInfo.SetPlatformId(win::VER_PLATFORM_WIN32_WINDOWS);
    ASSERT_TRUE(tuner.RunCaptured(kTool, "tool"));
    EXPECT_TRUE(machine.files.SecurityOf("C:\\temp.ping").dacl.empty());
}

}  // namespace
