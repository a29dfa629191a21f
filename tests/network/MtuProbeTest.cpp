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
    EXPECT_FALSE(machine.files.Exists("C:\\temp.ping"));

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

// Installs a ping that prints output and returns what one probe of it gives.
int ProbeVerdict(sim::Machine& machine, const std::string& output) {
    machine.programs.Install("ping", [&machine, output](const sim::Launch& launch) {
        machine.files.WriteToHandle(launch.standardOutput, output);
        return 0u;
    });
    return NetworkTuner().ProbeSize(1472);
}

// On the NT family the output comes through a pipe: only its write end goes to the hidden
// program, which gets the default process security, and no file is made, read or deleted.
TEST_F(RunCaptured, OnTheNtFamilyTheOutputComesThroughAPipeAndNoFile) {
    std::vector<sim::Launch> launches;
    machine.programs.Install("tool", [this, &launches](const sim::Launch& launch) {
        launches.push_back(launch);
        platform::Programs().Sleep(20);  // the caller must wait for the end
        machine.files.WriteToHandle(launch.standardOutput, "Reply from 10.0.0.1: bytes=32 time<1ms TTL=57\r\n");
        return 0u;
    });
    machine.files.WriteFile("C:\\temp.ping", "Reply from 10.0.0.2: bytes=32\r\n");
    NetworkTuner tuner;

    ASSERT_TRUE(tuner.RunCaptured(kTool, "tool once"));
    EXPECT_EQ(tuner.ReadPingVerdict(), 1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].showCommand, win::SW_HIDE);
    EXPECT_EQ(launches[0].inheritedHandles, 1u);
    EXPECT_FALSE(launches[0].securityGiven);
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "Reply from 10.0.0.2: bytes=32\r\n");

    // 259 characters fit the command buffer, 260 don't and are not run cut short.
    EXPECT_TRUE(tuner.RunCaptured(kTool, "tool " + std::string(254, 'x')));
    EXPECT_FALSE(tuner.RunCaptured(kTool, "tool " + std::string(255, 'x')));
    EXPECT_EQ(machine.programs.Launched().size(), 2u);
    // A program that can't start, or none at all, leaves no output to read.
    EXPECT_FALSE(tuner.RunCaptured("C:\\Tools\\missing.exe", "missing"));
    EXPECT_EQ(tuner.ReadPingVerdict(), 0);
    EXPECT_FALSE(tuner.RunCaptured("", "tool"));
    EXPECT_EQ(machine.programs.Launched().size(), 3u);

    machine.files.DeleteFileA("C:\\temp.ping");
    EXPECT_EQ(ProbeVerdict(machine, "Reply from 10.0.0.1: bytes=1472 time=3ms TTL=57\r\n"), 1);
    EXPECT_FALSE(machine.files.Exists("C:\\temp.ping"));
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(RunCaptured, VerdictsThroughThePipe) {
    EXPECT_EQ(ProbeVerdict(machine, "\r\nPinging 10.0.0.1 with 1472 bytes of data:\r\n"
                                    "Reply from 10.0.0.1: bytes=1472 time=3ms TTL=57\r\n\r\nPing statistics\r\n"),
              1);
    EXPECT_EQ(ProbeVerdict(machine, "Packet needs to be fragmented but DF set.\r\n"
                                    "Reply from 10.0.0.1: bytes=32 time=3ms TTL=57\r\n"),
              0);
    EXPECT_EQ(ProbeVerdict(machine, "Request timed out.\r\n\r\nPing statistics for 10.0.0.1:\r\n"), 0);
    EXPECT_EQ(ProbeVerdict(machine, ""), 0);
    // More than the pipe holds, so it must be read while ping still writes; the verdict comes last.
    std::string header;
    while (header.size() < 10000) header += "Pinging 10.0.0.1 with 1472 bytes of data, once more:\r\n";
    EXPECT_EQ(ProbeVerdict(machine, header + "Reply from 10.0.0.1: bytes=1472 time=3ms TTL=57\r\n"), 1);
    EXPECT_EQ(ProbeVerdict(machine, header + "Packet needs to be fragmented but DF set.\r\n"), 0);
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
}

// Under Wine the console host inherits ping's standard output and holds it after ping has
// ended: the verdict is in without waiting for it to let go.
TEST_F(RunCaptured, AConsoleHostHoldingTheOutputAfterPingIsNotWaitedFor) {
    machine.programs.KeepOutputOpenAfterEnd(2000);
    EXPECT_EQ(ProbeVerdict(machine, "Reply from 10.0.0.1: bytes=1472 time=3ms TTL=57\r\n"), 1);
    EXPECT_EQ(machine.handles.OpenCount(), 1u);  // the write end, still held
    machine.programs.JoinAll();
}

// A folder or junction that a user made at the 9x family's output name changes nothing on NT.
TEST_F(RunCaptured, AFolderAtTheFileNameChangesNothingOnTheNtFamily) {
    machine.files.AddDirectory("C:\\temp.ping");
    machine.files.MakeLink("C:\\temp.ping");
    EXPECT_EQ(ProbeVerdict(machine, "Reply from 10.0.0.1: bytes=1472 time=3ms TTL=57\r\n"), 1);
    EXPECT_TRUE(machine.files.IsDirectory("C:\\temp.ping"));
}

// The 9x family keeps the output file: made anew for every run, shared with no security
// descriptor, and left behind with the last output.
TEST_F(RunCaptured, OnThe9xFamilyTheOutputGoesToAFreshFile) {
    machine.systemInfo.UseWindows9x();
    std::vector<sim::Launch> launches;
    machine.programs.Install("tool", [this, &launches](const sim::Launch& launch) {
        launches.push_back(launch);
        machine.files.WriteToHandle(launch.standardOutput, "Reply from 10.0.0.1: bytes=32 time<1ms TTL=57\r\n");
        return 0u;
    });
    machine.files.WriteFile("C:\\temp.ping", "stale output\r\n");
    NetworkTuner tuner;
    ASSERT_TRUE(tuner.RunCaptured(kTool, "tool"));
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "Reply from 10.0.0.1: bytes=32 time<1ms TTL=57\r\n");
    EXPECT_EQ(tuner.ReadPingVerdict(), 1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].showCommand, win::SW_HIDE);
    EXPECT_TRUE(machine.files.SecurityOf("C:\\temp.ping").dacl.empty());

    // A program that can't start, or none at all, leaves an empty output file.
    EXPECT_FALSE(tuner.RunCaptured("", "tool"));
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "");
    EXPECT_EQ(tuner.ReadPingVerdict(), 0);
    machine.files.DeleteFileA("C:\\temp.ping");
    EXPECT_EQ(tuner.ReadPingVerdict(), 0);

    // Without a fresh output file nothing runs: a folder at the name counts as no reply.
    machine.files.AddDirectory("C:\\temp.ping");
    EXPECT_FALSE(tuner.RunCaptured(kTool, "tool"));
    EXPECT_EQ(tuner.ProbeSize(1472), 0);
    EXPECT_EQ(launches.size(), 1u);
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

}  // namespace
