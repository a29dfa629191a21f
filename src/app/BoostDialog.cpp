#include "app/BoostDialog.h"

#include <cstdio>
#include <string>

#include "app/DragStrip.h"
#include "drainex/MemoryStatus.h"
#include "rules/AnsiText.h"
#include "platform/Platform.h"
#include "platform/ScopedGdiObject.h"
#include "resources/ResourceIds.h"
#include "skin/RegionFromBitmap.h"
#include "skin/SkinBackground.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinDraw.h"

using namespace win;
using namespace resources;

namespace {

constexpr int kWidth = 316;
constexpr int kHeight = 367;
constexpr int kCornerGap = 5;
constexpr UINT_PTR kBoostWatchTimer = 1;
constexpr UINT kBoostWatchMilliseconds = 500;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr const char* kTitle = "Kestrava가 적용 되었습니다...";
constexpr const char* kStatus = "Kestrava가 실행 중 입니다.";
constexpr const char* kSparedLine = "게임 : %s 제외";
// The spared program's line fits the window's width, beneath the process line.
constexpr size_t kSparedNameBytes = 32;

void PutText(HDC dc, int x, int y, const std::string& text) {
    platform::Gdi().TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

std::string Format(const char* format, int32_t value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, static_cast<int>(value));
    return buffer;
}

}  // namespace

bool PlaceAboveTaskbar(int width, int height, int& x, int& y) {
    platform::IUser& user = platform::User();
    HWND desktop = user.GetDesktopWindow();
    if (desktop == nullptr) return false;
    RECT screen{};
    user.GetWindowRect(desktop, &screen);
    LONG screenWidth = screen.right - screen.left;
    LONG screenHeight = screen.bottom - screen.top;
    x = screenWidth - width - kCornerGap;
    y = screenHeight - height - kCornerGap;
    HWND taskbar = user.FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar == nullptr) return true;
    RECT bar{};
    user.GetWindowRect(taskbar, &bar);
    if (bar.right - bar.left >= screenWidth && bar.top != 0) y -= bar.bottom - bar.top;
    if (bar.bottom - bar.top >= screenHeight && bar.left != 0) x -= bar.right - bar.left;
    return true;
}

BoostDialog::BoostDialog(HWND parent) : ui::Dialog(IDD_BOOST, parent) {}

std::string BoostDialog::ResultLine::Text() const { return Format(format, value); }

// The network, memory and process lines, in painting order.
std::array<BoostDialog::ResultLine, 3> BoostDialog::ResultLines() const {
    return {{{&networkAnchor_, "인터넷 : %d 로 최적화", networkValue_},
             {&memoryAnchor_, "메모리 : %dMB 사용가능", availableMemoryMb_},
             {&processAnchor_, "프로세스 : %d 개 최적화", processCount_}}};
}

void BoostDialog::DoDataExchange() {
    Bind(IDC_INDICATOR, statusIcon_);
    Bind(IDC_CLOSE, closeButton_);
    Bind(IDC_PROCESS_ANCHOR, processAnchor_);
    Bind(IDC_MEMORY_ANCHOR, memoryAnchor_);
    Bind(IDC_NETWORK_ANCHOR, networkAnchor_);
    Bind(IDC_MAIN_BUTTON, mainButton_);
}

BOOL BoostDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    int x = 0;
    int y = 0;
    if (PlaceAboveTaskbar(kWidth, kHeight, x, y)) {
        SetPos(HWND_TOP, x, y, kWidth, kHeight, SWP_SHOWWINDOW);
    } else {
        SetPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE);
    }
    SetText(kTitle);
    SetUpSkin();
    SetUpButtons();
    int32_t totalMb = 0;
    int32_t freePercent = 0;
    QueryMemoryStatus(totalMb, availableMemoryMb_, freePercent);
    // The hidden anchors also carry their line as window text, for screen readers and
    // automation; frame statics ignore WM_SETTEXT, so it is stored by the default procedure.
    for (const ResultLine& line : ResultLines()) {
        std::string text = line.Text();
        platform::User().DefWindowProcA(line.anchor->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    statusIcon_.StartAnimation();
    if (boostWatch_) {
        boostWatch_();
        platform::User().SetTimer(Handle(), kBoostWatchTimer, kBoostWatchMilliseconds, nullptr);
    }
    return TRUE;
}

// The animation frames, and the window's outline from its mask picture when there is one.
void BoostDialog::SetUpSkin() {
    AddBusyIndicatorFrames(statusIcon_);
    const platform::ScopedGdiObject mask(LoadSkinBitmap(IDB_REGION_MASK));
    if (!mask) return;
    HRGN region = RegionFromBitmap(mask.Get(), kBlack, 1);
    if (region != nullptr) platform::User().SetWindowRgn(Handle(), region, TRUE);  // the window owns it now
}

void BoostDialog::SetUpButtons() {
    const int noOffset = 255;
    mainButton_.SetBitmaps(IDB_BOOST_MAIN_HOT, kBlack, IDB_BOOST_MAIN_IDLE, kBlack);
    mainButton_.SetPressedOffset(noOffset, false);
    mainButton_.SetFlatBorder(false, false);
    mainButton_.SetPos(nullptr, 0, 0, 64, 64, SWP_NOMOVE);

    closeButton_.SetFlatBorder(false, false);
    closeButton_.SetPressedOffset(noOffset, false);
    closeButton_.SetBitmaps(IDB_CLOSE_HOT, kBlack, IDB_CLOSE_IDLE, kBlack);
    RECT window = WindowRect();
    closeButton_.SetPos(nullptr, (window.right - window.left) - 70, 1, 43, 16, SWP_NOZORDER);
}

bool BoostDialog::OnCommand(WORD id, WORD code) {
    if (code == BN_CLICKED && (id == IDC_MAIN_BUTTON || id == IDC_CLOSE)) {
        OnCancel();
        return true;
    }
    return false;
}

bool BoostDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_ERASEBKGND:
        PaintSkinnedBackground(reinterpret_cast<HDC>(wParam), Handle(), SkinBitmaps().boostBody.Get());
        result = 0;
        return true;
    case WM_PAINT:
        Paint();
        result = 0;
        return true;
    case WM_NCHITTEST:
        if (!HitsDragStrip(Handle(), lParam)) return false;
        result = HTCAPTION;
        return true;
    case WM_TIMER:
        if (wParam != kBoostWatchTimer || !boostWatch_) return false;
        boostWatch_();
        result = 0;
        return true;
    default: return false;
    }
}

// The three result lines at their anchors and the status line beside the icon.
void BoostDialog::Paint() {
    platform::IUser& user = platform::User();
    platform::IGdi& gdi = platform::Gdi();
    PAINTSTRUCT paint{};
    HDC dc = user.BeginPaint(Handle(), &paint);
    gdi.SetBkMode(dc, TRANSPARENT);
    HFONT font = Font();
    HGDIOBJ oldFont = font ? gdi.SelectObject(dc, font) : nullptr;
    for (const ResultLine& line : ResultLines()) {
        RECT at = line.anchor->RectIn(Handle());
        PutText(dc, at.left, at.top, line.Text());
    }
    if (!sparedProgram_.empty()) {
        RECT process = processAnchor_.RectIn(Handle());
        RECT memory = memoryAnchor_.RectIn(Handle());
        char line[128];
        std::snprintf(line, sizeof line, kSparedLine, AnsiShortened(sparedProgram_, kSparedNameBytes).c_str());
        PutText(dc, process.left, process.top + (process.top - memory.top), line);
    }
    RECT icon = statusIcon_.RectIn(Handle());
    PutText(dc, icon.left + 20, icon.top + 1, kStatus);
    if (oldFont != nullptr) gdi.SelectObject(dc, oldFont);
    user.EndPaint(Handle(), &paint);
}
