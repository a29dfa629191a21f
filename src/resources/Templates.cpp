#include "resources/Templates.h"

#include "platform/UserTypes.h"
#include "resources/ResourceIds.h"

namespace resources {
namespace {

using namespace win;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

std::vector<DialogTemplate> MakeTemplates() {
    DialogTemplate main{IDD_MAIN, WS_POPUP | WS_VISIBLE | DS_SETFONT, WS_EX_APPWINDOW, 347, 276, "굴림", 9, {}};
    main.controls = {
        {1, "BUTTON", "확인", WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 125, 230, 50, 14, 0},
        {2, "BUTTON", "취소", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 180, 230, 50, 14, 0},
        {IDC_PROGRESS, "msctls_progress32", "", kChild | PBS_SMOOTH, 15, 175, 220, 10, 0},
        {IDC_SUSPEND, "BUTTON", "확인되지 않은 프로세스 일시중지 (저사양 PC 권장)", kChild | WS_TABSTOP | BS_AUTOCHECKBOX,
         15, 202, 175, 10, 0},
        // below the suspend option, the rows above moved up to make room
        {IDC_AUTO_BOOST, "BUTTON", "게임을 시작하면 자동으로 적용", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 15, 215, 175, 10,
         0},
        {IDC_BOOST, "BUTTON", "", kChild | WS_TABSTOP | BS_PUSHBUTTON, 240, 172, 40, 40, 0},
        {IDC_CLOSE, "BUTTON", "", kChild | WS_TABSTOP | BS_PUSHBUTTON, 273, 5, 15, 16, 0},
        {IDC_LABEL, "STATIC", "", kChild | SS_BITMAP, 10, 165, 51, 8, IDB_OPTIONS_LABEL},
        {IDC_FAST, "BUTTON", "빠른속도 (저사양 PC 권장)", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 15, 189, 100, 10, 0},
        {IDC_GRAPHICS, "BUTTON", "그래픽향상 (고사양 PC 권장)", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 125, 189, 107, 10,
         0},
        {IDC_INDICATOR, "STATIC", "", kChild | SS_BLACKFRAME, 11, 146, 6, 5, 0},
        // placed under the boost button by the dialog
        {IDC_RESTORE, "BUTTON", "", kChild | WS_TABSTOP | BS_PUSHBUTTON, 240, 218, 44, 14, 0},
    };

    DialogTemplate boost{IDD_BOOST, 0x80000040, 0, 312, 336, "굴림", 9, {}};
    boost.controls = {
        {IDC_MAIN_BUTTON, "BUTTON", "", 0x50010000, 131, 174, 40, 45, 0},
        {-1, "STATIC", "", 0x5000000E, 11, 166, 13, 15, IDB_BULLET},
        {-1, "STATIC", "", 0x5000000E, 11, 186, 13, 15, IDB_BULLET},
        {-1, "STATIC", "", 0x5000000E, 11, 206, 13, 15, IDB_BULLET},
        {IDC_NETWORK_ANCHOR, "STATIC", "", 0x40000007, 27, 170, 85, 15, 0},
        {IDC_MEMORY_ANCHOR, "STATIC", "", 0x40000007, 27, 190, 85, 15, 0},
        {IDC_PROCESS_ANCHOR, "STATIC", "", 0x40000007, 27, 210, 85, 15, 0},
        {IDC_CLOSE, "BUTTON", "", 0x50010000, 168, 5, 15, 16, 0},
        {IDC_INDICATOR, "STATIC", "", 0x50000007, 11, 146, 6, 5, 0},
    };
    return {main, boost};
}

}  // namespace

const std::vector<DialogTemplate>& DialogTemplates() {
    static const std::vector<DialogTemplate> templates = MakeTemplates();
    return templates;
}

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& dialog : DialogTemplates()) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}

const std::vector<BitmapResource>& BitmapResources() {
    static const std::vector<BitmapResource> bitmaps = {
        {IDB_BOOST_MAIN_HOT, 64, 64},  {IDB_BOOST_IDLE, 65, 64},      {IDB_BOOST_HOT, 65, 64},
        {IDB_BOOST_MAIN_IDLE, 64, 64}, {IDB_OPTIONS_LABEL, 77, 13},   {IDB_CHECK_ON, 13, 13},
        {IDB_SUSPEND_OFF, 13, 13},     {IDB_SUSPEND_ON, 13, 13},      {IDB_CHECK_OFF, 13, 13},
        {IDB_BULLET, 22, 22},          {IDB_FRAME_LAST, 13, 13},      {IDB_FRAME_FIRST, 13, 13},
        {IDB_FRAME_FIRST + 1, 13, 13}, {IDB_FRAME_FIRST + 2, 13, 13}, {IDB_FRAME_FIRST + 3, 13, 13},
        {IDB_FRAME_FIRST + 4, 13, 13}, {IDB_FRAME_FIRST + 5, 13, 13}, {IDB_FRAME_FIRST + 6, 13, 13},
        {IDB_CLOSE_IDLE, 43, 16},      {IDB_TITLE_LEFT, 3, 31},       {IDB_TITLE_TILE, 30, 31},
        {IDB_TITLE_RIGHT, 2, 31},      {IDB_CLOSE_HOT, 43, 16},       {IDB_MAIN_BODY, 498, 177},
        {IDB_BOOST_BODY, 316, 177},    {IDB_RESTORE_IDLE, 70, 22},    {IDB_RESTORE_HOT, 70, 22},
    };
    return bitmaps;
}

const BitmapResource* FindBitmapResource(int id) {
    for (const BitmapResource& bitmap : BitmapResources()) {
        if (bitmap.id == id) return &bitmap;
    }
    return nullptr;
}

}  // namespace resources
