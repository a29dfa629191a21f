#include "rules/DefaultScript.h"

#include <vector>

#include "rules/AnsiText.h"
#include "rules/ProcessCatalogue.h"

namespace {

const char kScriptHead[] =
    "[default]\n"
    "icon=default.ico\n"
    "text=default rule\n"
    "comment=default rule comment\n"
    "policy=priority \"all\" \"low\"\n"
    "policy=cpumask \"all\" \"last\"\n"
    "policy=swapout \"all\" \"on\"\n";

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

const char ProtectedProcessList[] =
    "policy=suspend \"csrss.exe\" \"off\"\n"
    "policy=suspend \"explorer.exe\" \"off\"\n"
    "policy=suspend \"internat.exe\" \"off\"\n"
    "policy=suspend \"lsass.exe\" \"off\"\n"
    "policy=suspend \"mstask.exe\" \"off\"\n"
    "policy=suspend \"smss.exe\" \"off\"\n"
    "policy=suspend \"spoolsv.exe\" \"off\"\n"
    "policy=suspend \"csrss.exe\" \"off\"\n"
    "policy=suspend \"svchost.exe\" \"off\"\n"
    "policy=suspend \"services.exe\" \"off\"\n"
    "policy=suspend \"system\" \"off\"\n"
    "policy=suspend \"taskmgr.exe\" \"off\"\n"
    "policy=suspend \"winamp.exe\" \"off\"\n"
    "policy=suspend \"winlogon.exe\" \"off\"\n"
    "policy=suspend \"winmgmt.exe\" \"off\"\n"
    "policy=suspend \"kernel32.dll\" \"off\"\n"
    "policy=suspend \"msgsrv32.exe\" \"off\"\n"
    "policy=suspend \"mprexe.exe\" \"off\"\n"
    "policy=suspend \"mmtask.tsk\" \"off\"\n"
    "policy=suspend \"taskmon.exe\" \"off\"\n"
    "policy=suspend \"systray.exe\" \"off\"\n"
    "policy=suspend \"spool32.exe\" \"off\"\n"
    "policy=suspend \"wmiexe.exe\" \"off\"\n"
    "policy=suspend \"ddhelp.exe\" \"off\"\n"
    "policy=suspend \"ctfmon.exe\" \"off\"\n"
    "policy=suspend \"alg.exe\" \"off\"\n"
    "policy=suspend \"myie.exe\" \"off\"\n"
    "policy=suspend \"jwbrowser.exe\" \"off\"\n"
    "policy=suspend \"webma.exe\" \"off\"\n"
    "policy=suspend \"system\" \"off\"\n"
    // Windows Vista to 11: composition, fonts, sound, input, shell, session and accessibility.
    "policy=suspend \"dwm.exe\" \"off\"\n"
    "policy=suspend \"fontdrvhost.exe\" \"off\"\n"
    "policy=suspend \"audiodg.exe\" \"off\"\n"
    "policy=suspend \"textinputhost.exe\" \"off\"\n"
    "policy=suspend \"tabtip.exe\" \"off\"\n"
    "policy=suspend \"wudfhost.exe\" \"off\"\n"
    "policy=suspend \"sihost.exe\" \"off\"\n"
    "policy=suspend \"shellexperiencehost.exe\" \"off\"\n"
    "policy=suspend \"startmenuexperiencehost.exe\" \"off\"\n"
    "policy=suspend \"taskhostw.exe\" \"off\"\n"
    "policy=suspend \"taskhostex.exe\" \"off\"\n"
    "policy=suspend \"taskhost.exe\" \"off\"\n"
    "policy=suspend \"conhost.exe\" \"off\"\n"
    "policy=suspend \"wininit.exe\" \"off\"\n"
    "policy=suspend \"lsm.exe\" \"off\"\n"
    "policy=suspend \"registry\" \"off\"\n"
    "policy=suspend \"memory compression\" \"off\"\n"
    "policy=suspend \"magnify.exe\" \"off\"\n"
    "policy=suspend \"osk.exe\" \"off\"\n"
    "policy=suspend \"narrator.exe\" \"off\"\n"
    // A game session today: game platforms with their web helpers, then the Korean publishers' launchers.
    "policy=suspend \"steam.exe\" \"off\"\n"
    "policy=suspend \"steamwebhelper.exe\" \"off\"\n"
    "policy=suspend \"epicgameslauncher.exe\" \"off\"\n"
    "policy=suspend \"epicwebhelper.exe\" \"off\"\n"
    "policy=suspend \"battle.net.exe\" \"off\"\n"
    "policy=suspend \"riotclientservices.exe\" \"off\"\n"
    "policy=suspend \"riot client.exe\" \"off\"\n"
    "policy=suspend \"riotclientux.exe\" \"off\"\n"
    "policy=suspend \"riotclientuxrender.exe\" \"off\"\n"
    "policy=suspend \"leagueclient.exe\" \"off\"\n"
    "policy=suspend \"leagueclientux.exe\" \"off\"\n"
    "policy=suspend \"leagueclientuxrender.exe\" \"off\"\n"
    "policy=suspend \"eadesktop.exe\" \"off\"\n"
    "policy=suspend \"eabackgroundservice.exe\" \"off\"\n"
    "policy=suspend \"ubisoftconnect.exe\" \"off\"\n"
    "policy=suspend \"upc.exe\" \"off\"\n"
    "policy=suspend \"uplaywebcore.exe\" \"off\"\n"
    "policy=suspend \"nexonplug.exe\" \"off\"\n"
    "policy=suspend \"nexon_launcher.exe\" \"off\"\n"
    "policy=suspend \"netmarble launcher.exe\" \"off\"\n"
    "policy=suspend \"stove.exe\" \"off\"\n"
    // Voice chat, the anti-cheat service that runs from boot, recording.
    "policy=suspend \"discord.exe\" \"off\"\n"
    "policy=suspend \"ts3client_win64.exe\" \"off\"\n"
    "policy=suspend \"vgc.exe\" \"off\"\n"
    "policy=suspend \"obs64.exe\" \"off\"\n"
    "policy=suspend \"obs-ffmpeg-mux.exe\" \"off\"\n"
    "policy=suspend \"obs-browser-page.exe\" \"off\"\n"
    // The graphics drivers' helpers: NVIDIA, AMD, Intel.
    "policy=suspend \"nvcontainer.exe\" \"off\"\n"
    "policy=suspend \"nvdisplay.container.exe\" \"off\"\n"
    "policy=suspend \"nvidia share.exe\" \"off\"\n"
    "policy=suspend \"nvidia overlay.exe\" \"off\"\n"
    "policy=suspend \"nvidia web helper.exe\" \"off\"\n"
    "policy=suspend \"nvcplui.exe\" \"off\"\n"
    "policy=suspend \"radeonsoftware.exe\" \"off\"\n"
    "policy=suspend \"radeonsettings.exe\" \"off\"\n"
    "policy=suspend \"amdrsserv.exe\" \"off\"\n"
    "policy=suspend \"atiesrxx.exe\" \"off\"\n"
    "policy=suspend \"igfxem.exe\" \"off\"\n"
    "policy=suspend \"igfxcuiservice.exe\" \"off\"\n"
    "policy=suspend \"igcc.exe\" \"off\"\n"
    "policy=suspend \"intelgraphicssoftware.exe\" \"off\"\n"
    "policy=suspend \"arccontrol.exe\" \"off\"\n";

bool IsProtectedProcess(const std::string& name) {
    const std::string list = ProtectedProcessList;
    // Each line is: policy=suspend "name" "off"
    for (size_t open = list.find('"'); open != std::string::npos; open = list.find('"', list.find('\n', open))) {
        const size_t close = list.find('"', open + 1);
        if (AnsiEqualsNoCase(name, list.substr(open + 1, close - open - 1))) return true;
    }
    return false;
}

// Kept running and visible with the option ticked by the block above.
constexpr const char* kPaceKeepers[] = {
    "discord.exe",           // Discord, voice chat
    "ts3client_win64.exe",   // TeamSpeak 3, voice chat
    "obs64.exe",             // OBS Studio, recording and streaming
    "obs-ffmpeg-mux.exe",    // OBS Studio's writer of the recording
    "obs-browser-page.exe",  // OBS Studio's browser sources
    "nvidia share.exe",      // NVIDIA ShadowPlay, recording
    "nvidia overlay.exe",    // NVIDIA's in-game overlay and instant replay
    "radeonsoftware.exe",    // AMD Radeon Software, ReLive recording
};

bool KeepsItsPace(const std::string& name) {
    for (const char* keeper : kPaceKeepers) {
        if (AnsiEqualsNoCase(name, keeper)) return true;
    }
    return false;
}

std::string ComposeRuleScript(bool suspendUnidentified) {
    std::string script = kScriptHead;
    if (suspendUnidentified) {
        std::string block = std::string("policy=suspend \"all\" \"on\"\n") + ProtectedProcessList;
        script += block;
        ReplaceAll(block, "policy=suspend ", "policy=hide ");
        script += block;
    } else {
        std::vector<std::string> names;
        CollectRunningCatalogue(names);
        for (const std::string& name : names) script += "policy=suspend \"" + name + "\" \"on\"\n";
    }
    return script;
}
