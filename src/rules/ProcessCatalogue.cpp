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

int CollectRunningCatalogue(std::vector<std::string>& names) {
    names.clear();
    for (const CatalogueGroup& group : ProcessCatalogue()) {
        for (const std::string& member : group.members) {
            if (!IsProcessRunning(member)) continue;
            names.insert(names.end(), group.members.begin(), group.members.end());
            break;
        }
    }
    return static_cast<int>(names.size());
}

bool IsProcessRunning(const std::string& name) {
    bool running = false;
    WalkProcessSnapshot([&](const win::PROCESSENTRY32& entry) {
        std::string text = ExecutableText(entry);
        if (AnsiEqualsNoCase(text, name)) {
            running = true;
        } else if (text.size() > name.size()) {
            size_t tail = text.size() - name.size();
            if (text[tail - 1] == '\\' && AnsiEqualsNoCase(text.substr(tail), name)) running = true;
        }
    });
    return running;
}
