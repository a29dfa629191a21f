// GDI area of the platform seam: device contexts, bitmaps, DIB sections, text and regions.
#pragma once

#include "GdiTypes.h"

namespace platform {
using namespace win;

class IGdi {
public:
    virtual ~IGdi() = default;
    virtual HDC CreateCompatibleDC(HDC dc) = 0;
    virtual BOOL DeleteDC(HDC dc) = 0;
    virtual HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) = 0;
    virtual HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) = 0;
    virtual HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset) = 0;
    virtual HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) = 0;
    virtual BOOL DeleteObject(HGDIOBJ object) = 0;
    virtual int GetObjectA(HGDIOBJ object, int size, void* buffer) = 0;
    virtual HGDIOBJ GetStockObject(int index) = 0;
    virtual BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                        DWORD rop) = 0;
    virtual COLORREF GetPixel(HDC dc, int x, int y) = 0;
    virtual COLORREF SetTextColor(HDC dc, COLORREF color) = 0;
    virtual COLORREF SetBkColor(HDC dc, COLORREF color) = 0;
    virtual int SetBkMode(HDC dc, int mode) = 0;
    virtual BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) = 0;
    virtual int DrawTextA(HDC dc, const char* text, int length, RECT* rect, UINT format) = 0;
    virtual BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT length,
                             const int* dx) = 0;
    virtual HBRUSH CreateSolidBrush(COLORREF color) = 0;
    virtual int FillRect(HDC dc, const RECT* rect, HBRUSH brush) = 0;
    virtual BOOL DrawStateA(HDC dc, HBRUSH brush, void* callback, LPARAM data, WPARAM wData, int x, int y, int cx,
                            int cy, UINT flags) = 0;
    virtual HRGN CreateRectRgn(int left, int top, int right, int bottom) = 0;
    virtual HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data) = 0;
    virtual int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) = 0;
    virtual DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data) = 0;
};

}  // namespace platform
