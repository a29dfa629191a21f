#include <gtest/gtest.h>

#include "platform/sim/Machine.h"
#include "rules/DefaultScript.h"
#include "rules/ProcessCatalogue.h"
#include "rules/RuleEngine.h"

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

// The protected names of Windows 98 to XP, in their order, duplicates included.
const Names kProtected = {
    "csrss.exe",    "explorer.exe", "internat.exe", "lsass.exe",    "mstask.exe",  "smss.exe",
    "spoolsv.exe",  "csrss.exe",    "svchost.exe",  "services.exe", "system",      "taskmgr.exe",
    "winamp.exe",   "winlogon.exe", "winmgmt.exe",  "kernel32.dll", "msgsrv32.exe", "mprexe.exe",
    "mmtask.tsk",   "taskmon.exe",  "systray.exe",  "spool32.exe",  "wmiexe.exe",  "ddhelp.exe",
    "ctfmon.exe",   "alg.exe",      "myie.exe",     "jwbrowser.exe", "webma.exe",  "system",
};

// The processes of Windows Vista to 11 without which the display, input, sound or shell stop.
const Names kProtectedSinceVista = {
    "dwm.exe",                     "fontdrvhost.exe", "audiodg.exe",    "textinputhost.exe",
    "tabtip.exe",                  "wudfhost.exe",    "sihost.exe",     "shellexperiencehost.exe",
    "startmenuexperiencehost.exe", "taskhostw.exe",   "taskhostex.exe", "taskhost.exe",
    "conhost.exe",                 "wininit.exe",     "lsm.exe",        "registry",
    "memory compression",          "magnify.exe",     "osk.exe",        "narrator.exe",
};

std::string Lines(const std::string& command, const Names& names, const std::string& argument) {
    std::string text;
    for (const std::string& name : names) text += "policy=" + command + " \"" + name + "\" \"" + argument + "\"\n";
    return text;
}

TEST(DefaultScript, SuspendOptionAddsSuspendAndHideBlocksForUnprotectedProcesses) {
    sim::Machine machine;
    machine.processes.AddProcess("C:\\Program Files\\Kav\\kav.exe");  // not consulted
    // The earlier names first and unchanged, the later ones after them, in both blocks.
    auto block = [](const std::string& command) {
        return "policy=" + command + " \"all\" \"on\"\n" + Lines(command, kProtected, "off") +
               Lines(command, kProtectedSinceVista, "off");
    };
    EXPECT_EQ(ComposeRuleScript(true), kHead + block("suspend") + block("hide"));
    EXPECT_EQ("policy=suspend \"all\" \"on\"\n" + std::string(ProtectedProcessList), block("suspend"));
}

// A Windows 10 desktop: the ticked boost leaves the system's processes running with their
// windows shown, and suspends and hides everything else, this program's windows included.
TEST(DefaultScript, SuspendOptionOnWindowsTenSparesTheSystemAndStopsTheRest) {
    sim::Machine machine;
    const Names system = {
        "System", "Registry", "smss.exe", "csrss.exe", "wininit.exe", "csrss.exe", "services.exe", "lsass.exe",
        "winlogon.exe", "fontdrvhost.exe", "fontdrvhost.exe", "svchost.exe", "svchost.exe", "dwm.exe",
        "Memory Compression", "WUDFHost.exe", "spoolsv.exe", "audiodg.exe", "sihost.exe", "taskhostw.exe",
        "explorer.exe", "ctfmon.exe", "StartMenuExperienceHost.exe", "ShellExperienceHost.exe",
        "TextInputHost.exe", "conhost.exe", "Taskmgr.exe"};
    const Names others = {"RuntimeBroker.exe", "SearchApp.exe", "ApplicationFrameHost.exe", "dllhost.exe",
                          "SecurityHealthSystray.exe", "OneDrive.exe", "game.exe"};
    std::vector<win::DWORD> spared;
    std::vector<win::DWORD> stopped;
    std::vector<win::HWND> shown;
    std::vector<win::HWND> hidden;
    for (const std::string& name : system) {
        spared.push_back(machine.processes.AddProcess("C:\\Windows\\System32\\" + name, 2));
        shown.push_back(machine.user.CreateTopLevelWindow("Window", name, spared.back(), true));
    }
    for (const std::string& name : others) {
        stopped.push_back(machine.processes.AddProcess("C:\\Program Files\\" + name, 2));
        hidden.push_back(machine.user.CreateTopLevelWindow("Window", name, stopped.back(), true));
    }
    const win::DWORD self = machine.processes.CurrentProcess();
    hidden.push_back(machine.user.CreateTopLevelWindow("Vornel", "Kestrava", self, true));

    RuleEngine engine;
    engine.Parse(ComposeRuleScript(true));
    engine.Execute(0);

    auto suspendCounts = [&](win::DWORD process) {
        std::vector<win::DWORD> counts;
        for (win::DWORD thread : machine.processes.ThreadsOf(process)) {
            counts.push_back(machine.processes.SuspendCount(thread));
        }
        return counts;
    };
    for (size_t i = 0; i < spared.size(); ++i) {
        EXPECT_EQ(suspendCounts(spared[i]), (std::vector<win::DWORD>{0, 0})) << system[i];
        EXPECT_TRUE(machine.user.IsWindowVisible(shown[i])) << system[i];
    }
    for (size_t i = 0; i < stopped.size(); ++i) {
        EXPECT_EQ(suspendCounts(stopped[i]), (std::vector<win::DWORD>{1, 1})) << others[i];
    }
    EXPECT_EQ(suspendCounts(self), std::vector<win::DWORD>{0});
    for (win::HWND window : hidden) EXPECT_FALSE(machine.user.IsWindowVisible(window));
    EXPECT_EQ(engine.GetOptimizedProcessCount(), static_cast<int>(system.size() + others.size() + 1));
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
