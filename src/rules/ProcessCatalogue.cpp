#include "rules/ProcessCatalogue.h"

#include "rules/AnsiText.h"
#include "rules/ProcessSnapshot.h"

const std::vector<CatalogueGroup>& ProcessCatalogue() {
    using F = CatalogueFamily;
    static const std::vector<CatalogueGroup> catalogue = {
        {F::AntiVirus, {"onlinent.exe", "onlnsvc.exe", "scanmsg.exe", "scanwscs.exe", "upschd.exe"}},
        {F::AntiVirus, {"vcrmon.exe"}},
        {F::AntiVirus, {"monsysnt.exe", "v3p3at.exe", "monsvcnt.exe", "v3impro.exe", "v3pro32.exe"}},
        {F::AntiVirus, {"clientsm.exe"}},
        {F::AntiVirus, {"kavss.exe", "pzmon.exe", "pzservicent.exe", "pztr.exe"}},
        {F::AntiVirus, {"aszmain.exe", "aszmon.exe", "asztray.exe", "ahnsd.exe", "ahnsdsv.exe"}},
        {F::AntiVirus, {"kav.exe"}},
        {F::AntiVirus,
         {"mcscript_inuse.exe", "frameworkservice.exe", "updaterui.exe", "mcconsol.exe", "mcshield.exe",
          "vstskmgr.exe"}},
        {F::AntiVirus, {"bootwarn.exe", "cfgwiz.exe", "npfmntor.exe", "navapsvc.exe", "navw32.exe"}},
        {F::FileSharing, {"pruna.exe"}},
        {F::FileSharing, {"fileguri.exe"}},
        {F::FileSharing, {"guruguru.exe"}},
        {F::FileSharing, {"v-share.exe"}},
        {F::FileSharing, {"peepop.exe"}},
        {F::FileSharing, {"monkey3.exe"}},
        {F::FileSharing, {"edonkey.exe", "edonkey2000.exe"}},
        {F::FileSharing, {"donkeyhote.exe"}},
        {F::Messenger, {"msnmsgr.exe"}},
        {F::Messenger, {"msmsgs.exe"}},
        {F::Messenger, {"nateonmain.exe"}},
        {F::Messenger, {"tachy.exe"}},
        {F::Messenger, {"dame40.exe"}},
        {F::Messenger, {"iman.exe"}},
        {F::Messenger, {"dwagent.exe", "dwgenie.exe"}},
        {F::Messenger, {"buddybuddy.exe"}},
    };
    return catalogue;
}

namespace {

// The executable text names this process: equal to the name, or a full path ending in a
// backslash and the name, without regard to letter case.
bool NamesProcess(const std::string& text, const std::string& name) {
    if (AnsiEqualsNoCase(text, name)) return true;
    if (text.size() <= name.size()) return false;
    const size_t tail = text.size() - name.size();
    return text[tail - 1] == '\\' && AnsiEqualsNoCase(text.substr(tail), name);
}

bool AnyNames(const std::vector<std::string>& texts, const std::string& name) {
    for (const std::string& text : texts) {
        if (NamesProcess(text, name)) return true;
    }
    return false;
}

// The executable texts of one snapshot; none when it cannot be taken.
std::vector<std::string> RunningTexts() {
    std::vector<std::string> texts;
    WalkProcessSnapshot([&](const win::PROCESSENTRY32& entry) { texts.push_back(ExecutableText(entry)); });
    return texts;
}

}  // namespace

int CollectRunningCatalogue(std::vector<std::string>& names) {
    names.clear();
    // The running names do not change within one check: one snapshot serves every name.
    const std::vector<std::string> running = RunningTexts();
    for (const CatalogueGroup& group : ProcessCatalogue()) {
        for (const std::string& member : group.members) {
            if (!AnyNames(running, member)) continue;
            names.insert(names.end(), group.members.begin(), group.members.end());
            break;
        }
    }
    return static_cast<int>(names.size());
}

bool IsProcessRunning(const std::string& name) {
    return AnyNames(RunningTexts(), name);
}
