#include "app/MainApplication.h"

#include "app/MainDialog.h"
#include "app/StateFolderGate.h"
#include "platform/Platform.h"
#include "restore/BoostRecovery.h"
#include "restore/RestoreJournal.h"
#include "skin/SkinBitmaps.h"

namespace {

const char kRecoveredMessage[] =
    "이전 부스트가 정상적으로 끝나지 않아, 일시중지되었던 프로그램과 설정을 되돌렸습니다.";

}  // namespace

std::string FolderOfPath(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

win::BOOL MainApplication::InitInstance(const char* argv0) {
    exeFolder = FolderOfPath(argv0 ? argv0 : "");
    StateFolderGate stateFolder(exeFolder);
    const std::string state = stateFolder.Use(nullptr);
    if (!state.empty() && RecoverInterruptedBoost(RestoreJournalPath(state))) {
        platform::User().MessageBoxA(nullptr, kRecoveredMessage, "Kestrava", win::MB_OK | win::MB_ICONINFORMATION);
    }
    LoadSkinBitmaps();
    {
        MainDialog dialog(exeFolder, stateFolder, drainexDigest);
        dialog.DoModal();
    }
    FreeSkinBitmaps();
    return win::FALSE;
}
