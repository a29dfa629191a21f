#include "app/MainApplication.h"

#include "app/MainDialog.h"
#include "skin/SkinBitmaps.h"

std::string FolderOfPath(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

win::BOOL MainApplication::InitInstance(const char* argv0) {
    exeFolder = FolderOfPath(argv0 ? argv0 : "");
    LoadSkinBitmaps();
    {
        MainDialog dialog(exeFolder);
        dialog.DoModal();
    }
    FreeSkinBitmaps();
    return win::FALSE;
}
