#include "skin/SkinButton.h"

#include <utility>

#include "platform/Platform.h"
#include "skin/MemoryDc.h"
#include "skin/SkinDraw.h"
#include "ui/Dialog.h"

using namespace win;

namespace {

constexpr int kImageMargin = 3;  // between the left edge and a picture with a label beside it
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT kLabelFormat = DT_WORDBREAK | DT_CENTER;

HBITMAP LoadButtonBitmap(int id) {
    if (id == 0) return nullptr;
    return static_cast<HBITMAP>(
        platform::User().LoadImageA(ui::AppInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

void Offset(RECT& rect, LONG dx, LONG dy) {
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

}  // namespace

SkinButton::SkinButton() { ResetColors(false); }

SkinButton::~SkinButton() { FreeBitmaps(); }

void SkinButton::Redraw() const {
    if (Handle() != nullptr) Invalidate(TRUE);
}

// --- Set-up ---

int SkinButton::SetBitmaps(int hotId, COLORREF hotKey, int idleId, COLORREF idleKey) {
    return SetBitmapHandles(LoadButtonBitmap(hotId), hotKey, LoadButtonBitmap(idleId), idleKey);
}

int SkinButton::SetBitmapHandles(HBITMAP hot, COLORREF hotKey, HBITMAP idle, COLORREF idleKey) {
    platform::ScopedGdiObject hotBitmap(hot);
    platform::ScopedGdiObject idleBitmap(idle);
    FreeBitmaps();
    // Without a first picture an idle one has no use; it is not kept.
    if (hotBitmap) {
        int result = FillSlot(hot_, std::move(hotBitmap), hotKey);
        if (result == kOk && idleBitmap) result = FillSlot(idle_, std::move(idleBitmap), idleKey);
        if (result != kOk) {
            FreeBitmaps();
            return result;
        }
    }
    Redraw();
    return kOk;
}

int SkinButton::FillSlot(Slot& slot, platform::ScopedGdiObject bitmap, COLORREF key) {
    slot.bitmap = std::move(bitmap);
    slot.key = key;
    BITMAP size{};
    if (platform::Gdi().GetObjectA(slot.bitmap.Get(), sizeof(size), &size) == 0) return kInvalidBitmap;
    slot.width = size.bmWidth;
    slot.height = size.bmHeight;
    slot.mask = platform::ScopedGdiObject(MakeMask(slot.bitmap.Get(), slot.width, slot.height, key));
    return slot.mask ? kOk : kMaskFailed;
}

void SkinButton::FreeBitmaps() {
    for (Slot* slot : {&hot_, &idle_}) *slot = Slot{};
}

HBITMAP SkinButton::MakeMask(HBITMAP bitmap, int width, int height, COLORREF key) {
    platform::IGdi& gdi = platform::Gdi();
    platform::ScopedGdiObject mask(gdi.CreateBitmap(width, height, 1, 1, nullptr));
    if (!mask) return nullptr;
    MemoryDc source(nullptr);
    MemoryDc target(nullptr);  // made after the mask, so it lets go of it first
    if (!source.Select(bitmap) || !target.Select(mask.Get())) return nullptr;
    gdi.SetBkColor(source.Get(), key);
    gdi.BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    gdi.SetTextColor(source.Get(), kWhite);
    gdi.SetBkColor(source.Get(), kBlack);
    gdi.BitBlt(source.Get(), 0, 0, width, height, target.Get(), 0, 0, SRCAND);
    return mask.Release();  // the caller's now
}

void SkinButton::SetPressedOffset(int mode, bool redraw) {
    pressedOffset_ = mode == 0 ? POINT{1, 1} : mode == 1 ? POINT{0, 2} : POINT{0, 0};
    if (redraw) Redraw();
}

void SkinButton::SetFlatBorder(bool on, bool redraw) {
    borderOnHover_ = on;
    if (redraw) Redraw();
}

int SkinButton::SetColor(int index, COLORREF colour, bool redraw) {
    BYTE slot = static_cast<BYTE>(index);
    if (slot > kFocusText) return kInvalidIndex;
    colours_[slot] = colour;
    if (redraw) Redraw();
    return kOk;
}

void SkinButton::ResetColors(bool redraw) {
    platform::IUser& user = platform::User();
    for (int index : {kHotBackground, kIdleBackground, kFocusBackground}) colours_[index] = user.GetSysColor(COLOR_BTNFACE);
    for (int index : {kHotText, kIdleText, kFocusText}) colours_[index] = user.GetSysColor(COLOR_BTNTEXT);
    if (redraw) Redraw();
}

void SkinButton::SetCheck(bool checked, bool redraw) {
    if (!checkBox_) return;
    checked_ = checked;
    if (redraw) Redraw();
}

// --- Messages ---

void SkinButton::OnAttached() {
    platform::IUser& user = platform::User();
    auto style = static_cast<DWORD>(user.GetWindowLongPtrA(Handle(), GWL_STYLE));
    DWORD type = style & BS_TYPEMASK;
    checkBox_ = (type & BS_CHECKBOX) != 0;
    defaultButton_ = type == BS_DEFPUSHBUTTON;
    user.SetWindowLongPtrA(Handle(), GWL_STYLE, static_cast<INT_PTR>(style | BS_OWNERDRAW));
    SetPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

LRESULT SkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return Default(message, wParam, lParam) | (defaultButton_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        WPARAM type = wParam & BS_TYPEMASK;
        if (type == BS_DEFPUSHBUTTON) defaultButton_ = true;
        if (type == BS_PUSHBUTTON) defaultButton_ = false;
        return Default(message, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
    }
    case BM_SETCHECK:
        SetCheck(wParam == BST_CHECKED || wParam == 2, true);
        return 0;
    case BM_GETCHECK: return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case WM_LBUTTONDBLCLK:
        // A fast second click counts as a click.
        return Default(WM_LBUTTONDOWN, wParam, lParam);
    case WM_MOUSEMOVE: {
        LRESULT result = Default(message, wParam, lParam);
        OnMouseMove(wParam, lParam);
        return result;
    }
    case WM_MOUSELEAVE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        LRESULT result = Default(message, wParam, lParam);
        CancelHover();
        return result;
    }
    case WM_ACTIVATE: {
        LRESULT result = Default(message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE) CancelHover();
        return result;
    }
    case WM_ENABLE: {
        LRESULT result = Default(message, wParam, lParam);
        if (!wParam) {
            platform::IUser& user = platform::User();
            HWND parent = user.GetParent(Handle());
            HWND next = user.GetNextDlgTabItem(parent, Handle(), FALSE);
            user.SetFocus(next != nullptr ? next : parent);
            CancelHover();
        }
        return result;
    }
    case WM_SYSCOLORCHANGE: {
        LRESULT result = Default(message, wParam, lParam);
        ResetColors(true);
        return result;
    }
    default: return Default(message, wParam, lParam);
    }
}

bool SkinButton::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            platform::User().SetFocus(Handle());
            if (checkBox_) {
                checked_ = !checked_;
                Redraw();
            }
        }
        return false;  // the dialog handles the click as usual
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(platform::Gdi().GetStockObject(NULL_BRUSH));
        return true;
    default: return false;
    }
}

void SkinButton::OnMouseMove(WPARAM keys, LPARAM position) {
    if ((keys & MK_LBUTTON) && !pointerOver_) return;
    platform::IUser& user = platform::User();
    POINT point{static_cast<short>(LOWORD(static_cast<uintptr_t>(position))),
                static_cast<short>(HIWORD(static_cast<uintptr_t>(position)))};
    user.ClientToScreen(Handle(), &point);
    if (user.WindowFromPoint(point) != Handle()) {
        CancelHover();
        return;
    }
    if (pointerOver_) return;
    pointerOver_ = true;
    Redraw();
    TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Handle(), 0};
    user.TrackMouseEvent(&request);
}

void SkinButton::CancelHover() {
    if (!pointerOver_) return;
    pointerOver_ = false;
    Redraw();
}

// --- Drawing ---

void SkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    pressed_ = checkBox_ ? (selected || checked_) : selected;
    focused_ = (item.itemState & ODS_FOCUS) != 0;
    disabled_ = (item.itemState & ODS_DISABLED) != 0;
    HDC dc = item.hDC;
    platform::Gdi().SetBkMode(dc, TRANSPARENT);
    DrawBackground(dc, item.rcItem);
    DrawBorder(dc, item.rcItem);
    std::string text = Text();
    RECT textArea = item.rcItem;
    if (hot_.bitmap) DrawBitmap(dc, !text.empty(), item.rcItem, textArea);
    if (!text.empty()) DrawLabel(dc, text, textArea);
}

void SkinButton::DrawBackground(HDC dc, const RECT& item) {
    FillSolidRect(dc, item, colours_[Hot() ? kHotBackground : focused_ ? kFocusBackground : kIdleBackground]);
}

void SkinButton::DrawBorder(HDC dc, const RECT& item) {
    if (!borderOnHover_ || !Hot()) return;
    COLORREF shadow = platform::User().GetSysColor(COLOR_BTNSHADOW);
    COLORREF highlight = platform::User().GetSysColor(COLOR_BTNHIGHLIGHT);
    if (pressed_) {
        Draw3dRect(dc, item, shadow, highlight);
    } else {
        Draw3dRect(dc, item, highlight, shadow);
    }
}

void SkinButton::DrawBitmap(HDC dc, bool hasText, const RECT& item, RECT& textArea) {
    platform::Gdi().SetBkColor(dc, kWhite);
    bool useHot = (checkBox_ && pressed_) || (!checkBox_ && Hot()) || !idle_.bitmap;
    const Slot& slot = useHot ? hot_ : idle_;
    // Centred without a label, else beside the label's area; always centred vertically.
    LONG x = item.left + kImageMargin;
    if (hasText) {
        textArea.left = item.left + kImageMargin + slot.width;
    } else {
        x = item.left + (item.right - item.left - slot.width) / 2;
    }
    LONG y = item.top + (item.bottom - item.top - slot.height) / 2;
    if (pressed_ && !checkBox_) {
        x += pressedOffset_.x;
        y += pressedOffset_.y;
    }
    if (disabled_) {
        DrawDisabled(dc, slot, x, y);
    } else {
        DrawMasked(dc, slot, x, y);
    }
}

// Key-coloured pixels leave the background visible.
void SkinButton::DrawMasked(HDC dc, const Slot& slot, int x, int y) {
    platform::IGdi& gdi = platform::Gdi();
    MemoryDc picture(dc);
    MemoryDc mask(dc);
    if (!picture.Select(slot.bitmap.Get()) || !mask.Select(slot.mask.Get())) return;
    gdi.BitBlt(dc, x, y, slot.width, slot.height, mask.Get(), 0, 0, SRCAND);
    gdi.BitBlt(dc, x, y, slot.width, slot.height, picture.Get(), 0, 0, SRCPAINT);
}

// The masked picture on a white ground, embossed as disabled.
void SkinButton::DrawDisabled(HDC dc, const Slot& slot, int x, int y) {
    platform::IGdi& gdi = platform::Gdi();
    const platform::ScopedGdiObject composed(gdi.CreateCompatibleBitmap(dc, slot.width, slot.height));
    if (!composed) return;
    bool drawn = false;
    {
        MemoryDc ground(dc);
        if (ground.Select(composed.Get())) {
            FillSolidRect(ground.Get(), RECT{0, 0, slot.width, slot.height}, kWhite);
            gdi.SetBkColor(ground.Get(), kWhite);
            gdi.SetTextColor(ground.Get(), kBlack);
            DrawMasked(ground.Get(), slot, 0, 0);
            drawn = true;
        }
    }
    if (drawn) {
        gdi.DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(composed.Get()), 0, x, y, slot.width,
                       slot.height, DST_BITMAP | DSS_DISABLED);
    }
}

void SkinButton::DrawLabel(HDC dc, const std::string& text, RECT textArea) {
    platform::IGdi& gdi = platform::Gdi();
    if (pressed_ && !checkBox_) Offset(textArea, pressedOffset_.x, pressedOffset_.y);
    RECT measured = textArea;
    gdi.DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | kLabelFormat);
    Offset(measured, ((textArea.right - textArea.left) - (measured.right - measured.left)) / 2,
           ((textArea.bottom - textArea.top) - (measured.bottom - measured.top)) / 2);
    if (disabled_) {
        Offset(measured, 1, 1);
        gdi.SetTextColor(dc, platform::User().GetSysColor(COLOR_BTNHIGHLIGHT));
        gdi.DrawTextA(dc, text.c_str(), -1, &measured, kLabelFormat);
        Offset(measured, -1, -1);
        gdi.SetTextColor(dc, platform::User().GetSysColor(COLOR_BTNSHADOW));
        gdi.DrawTextA(dc, text.c_str(), -1, &measured, kLabelFormat);
        return;
    }
    int text_index = Hot() ? kHotText : focused_ ? kFocusText : kIdleText;
    int background_index = Hot() ? kHotBackground : focused_ ? kFocusBackground : kIdleBackground;
    gdi.SetTextColor(dc, colours_[text_index]);
    gdi.SetBkColor(dc, colours_[background_index]);
    gdi.DrawTextA(dc, text.c_str(), -1, &measured, kLabelFormat);
}
