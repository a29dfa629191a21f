#include <gtest/gtest.h>

#include "platform/sim/Machine.h"
#include "rules/DefaultScript.h"
#include "rules/ProcessCatalogue.h"

namespace {

using Names = std::vector<std::string>;

const char kHead[] =
    "[default]\n"
    "icon=default.ico\n"
    "text=default rule\n"
    "comment=default rule comment\n"
    "policy=priority \"all\" \"low\"\n"
    "policy=cpumask \"all\" \"last\"\n"
    "policy=swapout \"all\" \"on\"\n";

const Names kProtected = {
    "csrss.exe",    "explorer.exe", "internat.exe", "lsass.exe",    "mstask.exe",  "smss.exe",
    "spoolsv.exe",  "csrss.exe",    "svchost.exe",  "services.exe", "system",      "taskmgr.exe",
    "winamp.exe",   "winlogon.exe", "winmgmt.exe",  "kernel32.dll", "msgsrv32.exe", "mprexe.exe",
    "mmtask.tsk",   "taskmon.exe",  "systray.exe",  "spool32.exe",  "wmiexe.exe",  "ddhelp.exe",
    "ctfmon.exe",   "alg.exe",      "myie.exe",     "jwbrowser.exe", "webma.exe",  "system",
};

std::string Lines(const std::string& command, const Names& names, const std::string& argument) {
    std::string text;
    for (const std::string& name : names) text += "policy=" + command + " \"" + name + "\" \"" + argument + "\"\n";
    return text;
}

TEST(DefaultScript, SuspendOptionAddsSuspendAndHideBlocksForUnprotectedProcesses) {
    sim::Machine machine;
    machine.processes.AddProcess("C:\\Program Files\\Kav\\kav.exe");  // not consulted
    std::string expected = kHead;
    expected += "policy=suspend \"all\" \"on\"\n" + Lines("suspend", kProtected, "off");
    expected += "policy=hide \"all\" \"on\"\n" + Lines("hide", kProtected, "off");
    EXPECT_EQ(ComposeRuleScript(true), expected);
    EXPECT_EQ(std::string(ProtectedProcessList), Lines("suspend", kProtected, "off"));
}

TEST(DefaultScript, WithoutTheOptionOnlyRunningCatalogueGroupsAreSuspended) {
    sim::Machine machine;
    EXPECT_EQ(ComposeRuleScript(false), kHead);

    machine.processes.AddProcess("C:\\Program Files\\AhnLab\\V3Pro32.EXE");
    EXPECT_EQ(ComposeRuleScript(false),
              kHead + Lines("suspend", {"monsysnt.exe", "v3p3at.exe", "monsvcnt.exe", "v3impro.exe", "v3pro32.exe"},
                            "on"));
}

TEST(DefaultScript, SnapshotFailureLeavesOnlyTheHead) {
    sim::Machine machine;
    machine.processes.AddProcess("C:\\p\\kav.exe");
    machine.processes.FailSnapshots(true);
    EXPECT_FALSE(IsProcessRunning("kav.exe"));
    EXPECT_EQ(ComposeRuleScript(false), kHead);
}

TEST(ProcessCatalogue, RunningMemberBringsItsWholeGroupInCatalogueOrder) {
    sim::Machine machine;
    machine.processes.AddProcess("C:\\p\\buddybuddy.exe");
    machine.processes.AddProcess("C:\\p\\edonkey2000.exe");
    machine.processes.AddProcess("C:\\p\\KAV.exe");
    machine.processes.AddProcess("C:\\p\\dwgenie.exe");
    Names names = {"stale"};
    EXPECT_EQ(CollectRunningCatalogue(names), 6);
    EXPECT_EQ(names, (Names{"kav.exe", "edonkey.exe", "edonkey2000.exe", "dwagent.exe", "dwgenie.exe",
                            "buddybuddy.exe"}));

    machine.processes.FailSnapshots(true);
    EXPECT_EQ(CollectRunningCatalogue(names), 0);
    EXPECT_TRUE(names.empty());
}

TEST(ProcessCatalogue, HoldsTwentyFiveGroupsFamilyByFamily) {
    const auto& catalogue = ProcessCatalogue();
    ASSERT_EQ(catalogue.size(), 25u);
    size_t names = 0;
    for (size_t i = 0; i < catalogue.size(); ++i) {
        names += catalogue[i].members.size();
        CatalogueFamily expected =
            i < 9 ? CatalogueFamily::AntiVirus : i < 17 ? CatalogueFamily::FileSharing : CatalogueFamily::Messenger;
        EXPECT_EQ(catalogue[i].family, expected) << i;
    }
    EXPECT_EQ(names, 51u);
}

TEST(ProcessCatalogue, NineXFullPathsMatchByTheirFileName) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9x();
    machine.processes.AddProcess("C:\\PROGRA~1\\NORTON\\NAVW32.EXE");
    machine.processes.AddProcess("C:\\TOOLS\\XPRUNA.EXE");
    EXPECT_TRUE(IsProcessRunning("navw32.exe"));
    EXPECT_FALSE(IsProcessRunning("pruna.exe"));
    EXPECT_FALSE(IsProcessRunning("w32.exe"));
    EXPECT_TRUE(IsProcessRunning("c:\\progra~1\\norton\\navw32.exe"));
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
}

}  // namespace
