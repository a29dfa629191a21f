// Device contexts, bitmaps, text and regions, forwarded to gdi32 (DrawStateA is in user32).
#include "platform/win32/Win32.h"

KESTRAVA_SAME_LAYOUT(BITMAP);
KESTRAVA_SAME_LAYOUT(BITMAPINFOHEADER);
KESTRAVA_SAME_LAYOUT(RGBQUAD);
KESTRAVA_SAME_LAYOUT(BITMAPINFO);
KESTRAVA_SAME_LAYOUT(DIBSECTION);
KESTRAVA_SAME_LAYOUT(RGNDATAHEADER);
KESTRAVA_SAME_LAYOUT(RGNDATA);
KESTRAVA_SAME_LAYOUT(XFORM);

namespace {

::HDC D(win::HDC dc) { return static_cast<::HDC>(dc); }
::HRGN G(win::HRGN region) { return static_cast<::HRGN>(region); }
const ::RECT* R(const win::RECT* rect) { return reinterpret_cast<const ::RECT*>(rect); }

class Win32Gdi : public platform::IGdi {
public:
    win::HDC CreateCompatibleDC(win::HDC dc) override { return ::CreateCompatibleDC(D(dc)); }
    BOOL DeleteDC(win::HDC dc) override { return ::DeleteDC(D(dc)); }
    win::HBITMAP CreateCompatibleBitmap(win::HDC dc, int width, int height) override {
        return ::CreateCompatibleBitmap(D(dc), width, height);
    }
    win::HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) override {
        return ::CreateBitmap(width, height, planes, bitsPerPixel, bits);
    }
    win::HBITMAP CreateDIBSection(win::HDC dc, const win::BITMAPINFO* info, UINT usage, void** bits,
                                  win::HANDLE section, DWORD offset) override {
        return ::CreateDIBSection(D(dc), reinterpret_cast<const ::BITMAPINFO*>(info), usage, bits,
                                  static_cast<::HANDLE>(section), offset);
    }
    win::HGDIOBJ SelectObject(win::HDC dc, win::HGDIOBJ object) override {
        return ::SelectObject(D(dc), static_cast<::HGDIOBJ>(object));
    }
    BOOL DeleteObject(win::HGDIOBJ object) override { return ::DeleteObject(static_cast<::HGDIOBJ>(object)); }
    int GetObjectA(win::HGDIOBJ object, int size, void* buffer) override {
        return ::GetObjectA(static_cast<::HGDIOBJ>(object), size, buffer);
    }
    win::HGDIOBJ GetStockObject(int index) override { return ::GetStockObject(index); }
    BOOL BitBlt(win::HDC target, int x, int y, int width, int height, win::HDC source, int sourceX, int sourceY,
                DWORD rop) override {
        return ::BitBlt(D(target), x, y, width, height, D(source), sourceX, sourceY, rop);
    }
    win::COLORREF GetPixel(win::HDC dc, int x, int y) override { return ::GetPixel(D(dc), x, y); }
    win::COLORREF SetTextColor(win::HDC dc, win::COLORREF color) override { return ::SetTextColor(D(dc), color); }
    win::COLORREF SetBkColor(win::HDC dc, win::COLORREF color) override { return ::SetBkColor(D(dc), color); }
    int SetBkMode(win::HDC dc, int mode) override { return ::SetBkMode(D(dc), mode); }
    BOOL TextOutA(win::HDC dc, int x, int y, const char* text, int length) override {
        return ::TextOutA(D(dc), x, y, text, length);
    }
    int DrawTextA(win::HDC dc, const char* text, int length, win::RECT* rect, UINT format) override {
        return ::DrawTextA(D(dc), text, length, reinterpret_cast<::RECT*>(rect), format);
    }
    BOOL ExtTextOutA(win::HDC dc, int x, int y, UINT options, const win::RECT* rect, const char* text, UINT length,
                     const int* dx) override {
        return ::ExtTextOutA(D(dc), x, y, options, R(rect), text, length, dx);
    }
    win::HBRUSH CreateSolidBrush(win::COLORREF color) override { return ::CreateSolidBrush(color); }
    int FillRect(win::HDC dc, const win::RECT* rect, win::HBRUSH brush) override {
        return ::FillRect(D(dc), R(rect), static_cast<::HBRUSH>(brush));
    }
    BOOL DrawStateA(win::HDC dc, win::HBRUSH brush, void* callback, win::LPARAM data, win::WPARAM wData, int x, int y, int cx,
                    int cy, UINT flags) override {
        return ::DrawStateA(D(dc), static_cast<::HBRUSH>(brush), win::ProcCast<DRAWSTATEPROC>(callback), data, wData,
                            x, y, cx, cy, flags);
    }
    win::HRGN CreateRectRgn(int left, int top, int right, int bottom) override {
        return ::CreateRectRgn(left, top, right, bottom);
    }
    win::HRGN ExtCreateRegion(const win::XFORM* transform, DWORD size, const win::RGNDATA* data) override {
        return ::ExtCreateRegion(reinterpret_cast<const ::XFORM*>(transform), size,
                                 reinterpret_cast<const ::RGNDATA*>(data));
    }
    int CombineRgn(win::HRGN destination, win::HRGN source1, win::HRGN source2, int mode) override {
        return ::CombineRgn(G(destination), G(source1), G(source2), mode);
    }
    DWORD GetRegionData(win::HRGN region, DWORD size, win::RGNDATA* data) override {
        return ::GetRegionData(G(region), size, reinterpret_cast<::RGNDATA*>(data));
    }
};

Win32Gdi gdi;

struct Install {
    Install() { platform::Current().gdi = &gdi; }
} install;

}  // namespace
