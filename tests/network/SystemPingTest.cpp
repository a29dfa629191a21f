#include <gtest/gtest.h>

#include <string>

#include "network/NetworkTuner.h"
#include "network/SystemPing.h"
#include "sim/Machine.h"

namespace {

using network::SystemPingPath;

TEST(SystemPing, NtFamilyUsesTheSystemFolderOnly) {
    sim::Machine machine;
    // Nothing but the system folder counts: not even a PING.EXE in the Windows folder.
    machine.files.AddDirectory("C:\\WINDOWS");
    machine.files.WriteFile("C:\\WINDOWS\\PING.EXE", "MZ");
    EXPECT_EQ(SystemPingPath(), "C:\\WINDOWS\\system32\\ping.exe");
}

TEST(SystemPing, NineXFamilyPrefersTheSystemFolderThenTheWindowsFolder) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9x();
    machine.files.AddDirectory("C:\\WINDOWS\\SYSTEM");
    machine.files.WriteFile("C:\\WINDOWS\\PING.EXE", "MZ");
    EXPECT_EQ(SystemPingPath(), "C:\\WINDOWS\\PING.EXE");

    machine.files.WriteFile("C:\\WINDOWS\\SYSTEM\\ping.exe", "MZ");
    EXPECT_EQ(SystemPingPath(), "C:\\WINDOWS\\SYSTEM\\ping.exe");
}

// With no system ping anywhere every attempt counts as no reply, as with ping missing,
// and a program called ping elsewhere is never asked for.
TEST(SystemPing, MissingSystemPingOnNineXIsNoReply) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9x();
    machine.files.AddDirectory("C:\\Games\\Kestrava");
    machine.files.WriteFile("C:\\Games\\Kestrava\\ping.exe", "MZ");
    EXPECT_EQ(SystemPingPath(), "C:\\WINDOWS\\PING.EXE");

    NetworkTuner tuner;
    EXPECT_EQ(tuner.ProbeSize(1472), 0);
    ASSERT_EQ(machine.programs.LaunchedApplications().size(), 1u);
    EXPECT_EQ(machine.programs.LaunchedApplications()[0], "C:\\WINDOWS\\PING.EXE");
    EXPECT_EQ(machine.programs.Launched()[0], "ping -n 1 -f -l 1472 ");
    EXPECT_EQ(machine.files.Read("C:\\temp.ping"), "");
}

}  // namespace
