// One rule decides the Windows family for the whole program: the process control, the
// registry helper, the TCP/IP tuning, the state folder and the debug log never disagree,
// even when the version is unknown or a compatibility layer reports another.
#include <gtest/gtest.h>

#include "network/NetworkTuner.h"
#include "platform/WindowsFamily.h"
#include "sim/Machine.h"
#include "process/clsEnhance.h"
#include "registry/RegistryKey.h"
#include "restore/StateFolder.h"
#include "rules/DebugLog.h"

namespace {

const char kNtKey[] = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char k9xKey[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";

// The family every check reports, and what the tuning makes of a 1472-byte payload.
void ExpectFamily(sim::Machine& machine, bool nt) {
    EXPECT_EQ(platform::IsNtFamily(), nt);
    EXPECT_EQ(clsEnhance::IsNotWindows9x(), nt);
    EXPECT_EQ(IsWindowsNt(), nt);
    NetworkTuner tuner;
    int mss = 0;
    int window = 0;
    tuner.ComputeMssAndWindow(1472, mss, window);
    EXPECT_EQ(window, nt ? 372320 : 64440);
    tuner.ApplyTcpTuning(1472, "C:\\backup.nbk");
    EXPECT_EQ(machine.registry.KeyExists(win::HKEY_LOCAL_MACHINE, kNtKey), nt);
    EXPECT_EQ(machine.registry.KeyExists(win::HKEY_LOCAL_MACHINE, k9xKey), !nt);
    EXPECT_EQ(OpenStateFolder("C:\\Games", false).path == "C:\\Games\\Restore", !nt);  // beside the program
    WriteDebugLog("entry");
    EXPECT_EQ(machine.files.SecurityOf("c:\\debuglog.txt").dacl.empty(), !nt);  // for administrators alone
}

TEST(WindowsFamily, OnlyAReported9xPlatformIsThe9xFamily) {
    {
        sim::Machine machine;
        ExpectFamily(machine, true);
    }
    {
        sim::Machine machine;
        machine.systemInfo.UseWindows9x();  // no RtlGetVersion there
        ExpectFamily(machine, false);
    }
    {
        sim::Machine machine;
        machine.systemInfo.SetPlatformId(0);  // Win32s: not the 9x family's id
        ExpectFamily(machine, true);
    }
}

// A user can set a Windows 95 or 98 compatibility layer for the program; the kernel still
// reports the NT family.
TEST(WindowsFamily, ACompatibilityLayerDoesNotMakeThe9xFamily) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9xLayer();
    ExpectFamily(machine, true);
}

TEST(WindowsFamily, TheShortStructureServesWhereTheExtendedOneFails) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9x();
    machine.systemInfo.FailVersionEx(true);
    ExpectFamily(machine, false);
}

TEST(WindowsFamily, AnUnreadableVersionIsTheNtFamilyEverywhere) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9x();
    machine.systemInfo.FailVersion(true);
    ExpectFamily(machine, true);
    EXPECT_EQ(clsEnhance().ProcessIdObfuscator, 0u);  // the 9x thread opener stays unused
}

}  // namespace
