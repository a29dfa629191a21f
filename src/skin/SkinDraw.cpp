#include "skin/SkinDraw.h"

#include "platform/Platform.h"
#include "skin/MemoryDc.h"
#include "ui/Dialog.h"

using namespace win;

int DrawBitmapAt(HDC dc, HBITMAP bitmap, int x, int y, int* width, int* height) {
    if (bitmap == nullptr) return 0;
    BITMAP size{};
    if (platform::Gdi().GetObjectA(bitmap, sizeof(size), &size) == 0) return 0;
    if (width != nullptr && height != nullptr) {
        *width = size.bmWidth;
        *height = size.bmHeight;
    }
    MemoryDc source(dc);
    if (!source.Select(bitmap)) return 0;
    platform::Gdi().BitBlt(dc, x, y, size.bmWidth, size.bmHeight, source.Get(), 0, 0, SRCCOPY);
    return 1;
}

HBITMAP LoadSkinBitmap(int resourceId) {
    return static_cast<HBITMAP>(platform::User().LoadImageA(ui::AppInstance(), MAKEINTRESOURCEA(resourceId),
                                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
    platform::Gdi().SetBkColor(dc, colour);
    platform::Gdi().ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(dc, RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    FillSolidRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    FillSolidRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    FillSolidRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}
