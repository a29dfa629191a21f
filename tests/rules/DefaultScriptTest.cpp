#include <gtest/gtest.h>

#include "sim/Machine.h"
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

// What a game session on today's PC needs running: game platforms, voice chat, the boot-time
// anti-cheat, recording, and the graphics drivers' helpers.
const Names kProtectedForGaming = {
    "steam.exe",           "steamwebhelper.exe",     "epicgameslauncher.exe",   "epicwebhelper.exe",
    "battle.net.exe",      "riotclientservices.exe", "riot client.exe",         "riotclientux.exe",
    "riotclientuxrender.exe", "leagueclient.exe",    "leagueclientux.exe",      "leagueclientuxrender.exe",
    "eadesktop.exe",       "eabackgroundservice.exe", "ubisoftconnect.exe",     "upc.exe",
    "uplaywebcore.exe",    "nexonplug.exe",          "nexon_launcher.exe",      "netmarble launcher.exe",
    "stove.exe",           "discord.exe",            "ts3client_win64.exe",     "vgc.exe",
    "obs64.exe",           "obs-ffmpeg-mux.exe",     "obs-browser-page.exe",    "nvcontainer.exe",
    "nvdisplay.container.exe", "nvidia share.exe",   "nvidia overlay.exe",      "nvidia web helper.exe",
    "nvcplui.exe",         "radeonsoftware.exe",     "radeonsettings.exe",      "amdrsserv.exe",
    "atiesrxx.exe",        "igfxem.exe",             "igfxcuiservice.exe",      "igcc.exe",
    "intelgraphicssoftware.exe", "arccontrol.exe",
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
               Lines(command, kProtectedSinceVista, "off") + Lines(command, kProtectedForGaming, "off");
    };
    EXPECT_EQ(ComposeRuleScript(true), kHead + block("suspend") + block("hide"));
    EXPECT_EQ("policy=suspend \"all\" \"on\"\n" + std::string(ProtectedProcessList), block("suspend"));
}

// A desktop of programs, each with two threads and a shown top-level window, and this program
// with its own window. The ticked boost must leave the spared programs running with their
// windows shown, and suspend and hide the stopped ones and this program's window.
class TickedBoostDesktop {
public:
    void Start(const std::string& folder, const Names& names, bool spared) {
        for (const std::string& name : names) {
            const win::DWORD process = machine_.processes.AddProcess(folder + "\\" + name, 2);
            programs_.push_back({name, process, machine_.user.CreateTopLevelWindow("Window", name, process, true),
                                 spared});
        }
    }

    void BoostAndCheck() {
        const win::DWORD self = machine_.processes.CurrentProcess();
        const win::HWND ownWindow = machine_.user.CreateTopLevelWindow("Vornel", "Kestrava", self, true);

        RuleEngine engine;
        engine.Parse(ComposeRuleScript(true));
        engine.Execute(0);

        for (const Program& program : programs_) {
            const win::DWORD count = program.spared ? 0 : 1;
            EXPECT_EQ(SuspendCounts(program.process), (std::vector<win::DWORD>{count, count})) << program.name;
            EXPECT_EQ(machine_.user.IsWindowVisible(program.window), program.spared) << program.name;
        }
        EXPECT_EQ(SuspendCounts(self), std::vector<win::DWORD>{0});
        EXPECT_FALSE(machine_.user.IsWindowVisible(ownWindow));
        // Voice and recording programs keep their class and mask, so they leave no record.
        int recorded = 1;
        for (const Program& program : programs_) recorded += KeepsItsPace(program.name) ? 0 : 1;
        EXPECT_EQ(engine.GetOptimizedProcessCount(), recorded);
    }

private:
    struct Program {
        std::string name;
        win::DWORD process;
        win::HWND window;
        bool spared;
    };

    std::vector<win::DWORD> SuspendCounts(win::DWORD process) const {
        std::vector<win::DWORD> counts;
        for (win::DWORD thread : machine_.processes.ThreadsOf(process)) {
            counts.push_back(machine_.processes.SuspendCount(thread));
        }
        return counts;
    }

    sim::Machine machine_;
    std::vector<Program> programs_;
};

TEST(DefaultScript, SuspendOptionOnWindowsTenSparesTheSystemAndStopsTheRest) {
    TickedBoostDesktop desktop;
    desktop.Start("C:\\Windows\\System32",
                  {"System", "Registry", "smss.exe", "csrss.exe", "wininit.exe", "csrss.exe", "services.exe",
                   "lsass.exe", "winlogon.exe", "fontdrvhost.exe", "fontdrvhost.exe", "svchost.exe", "svchost.exe",
                   "dwm.exe", "Memory Compression", "WUDFHost.exe", "spoolsv.exe", "audiodg.exe", "sihost.exe",
                   "taskhostw.exe", "explorer.exe", "ctfmon.exe", "StartMenuExperienceHost.exe",
                   "ShellExperienceHost.exe", "TextInputHost.exe", "conhost.exe", "Taskmgr.exe"},
                  true);
    desktop.Start("C:\\Program Files",
                  {"RuntimeBroker.exe", "SearchApp.exe", "ApplicationFrameHost.exe", "dllhost.exe",
                   "SecurityHealthSystray.exe", "OneDrive.exe", "game.exe"},
                  false);
    desktop.BoostAndCheck();
}

// A Windows 11 player's PC before the game starts: the platform, voice, anti-cheat, recording and
// graphics helper processes stay, the browser and the unknown programs stop. A name as generic
// as agent.exe is not spared.
TEST(DefaultScript, SuspendOptionOnAPlayersWindowsElevenSparesWhatTheGameSessionNeeds) {
    TickedBoostDesktop desktop;
    desktop.Start("C:\\Windows\\System32",
                  {"System", "Registry", "smss.exe", "csrss.exe", "wininit.exe", "services.exe", "lsass.exe",
                   "winlogon.exe", "fontdrvhost.exe", "svchost.exe", "dwm.exe", "Memory Compression", "audiodg.exe",
                   "sihost.exe", "taskhostw.exe", "explorer.exe", "ctfmon.exe", "StartMenuExperienceHost.exe",
                   "ShellExperienceHost.exe", "TextInputHost.exe", "conhost.exe", "NVDisplay.Container.exe"},
                  true);
    desktop.Start("C:\\Program Files (x86)\\Steam", {"steam.exe"}, true);
    desktop.Start("C:\\Program Files (x86)\\Steam\\bin\\cef\\cef.win7x64",
                  {"steamwebhelper.exe", "steamwebhelper.exe", "steamwebhelper.exe"}, true);
    desktop.Start("C:\\Users\\player\\AppData\\Local\\Discord\\app-1.0.9003",
                  {"Discord.exe", "Discord.exe", "Discord.exe"}, true);
    desktop.Start("C:\\Program Files\\Riot Vanguard", {"vgc.exe"}, true);
    desktop.Start("C:\\Program Files\\obs-studio\\bin\\64bit", {"obs64.exe", "obs-ffmpeg-mux.exe"}, true);
    desktop.Start("C:\\Program Files\\NVIDIA Corporation\\NVIDIA App\\CEF", {"NVIDIA Overlay.exe"}, true);
    desktop.Start("C:\\Program Files (x86)\\Microsoft\\Edge\\Application", {"msedge.exe", "msedge.exe"}, false);
    desktop.Start("C:\\Program Files\\Tools", {"agent.exe", "PhotoSync.exe"}, false);
    desktop.BoostAndCheck();
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
    EXPECT_EQ(machine.processes.ProcessSnapshots(), 1);

    machine.processes.FailSnapshots(true);
    EXPECT_EQ(CollectRunningCatalogue(names), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(machine.processes.ProcessSnapshots(), 2);
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

    const int snapshots = machine.processes.ProcessSnapshots();
    Names names;
    EXPECT_EQ(CollectRunningCatalogue(names), 5);
    EXPECT_EQ(names, (Names{"bootwarn.exe", "cfgwiz.exe", "npfmntor.exe", "navapsvc.exe", "navw32.exe"}));
    EXPECT_EQ(machine.processes.ProcessSnapshots(), snapshots + 1);
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
}

}  // namespace
