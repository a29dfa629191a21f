// GDI of the simulated machine: memory device contexts, bitmaps with real pixel
// memory (device-dependent 1- and 32-bit bitmaps, DIB sections of 1, 8, 24 and 32
// bits), block transfers, solid fills, recorded text output and regions kept as
// sets of rectangles.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Gdi.h"

namespace sim {
using namespace win;

class Machine;

// One piece of text output. Texts belong to the bitmap they were drawn on; they move
// with the pixels when that area is copied and vanish when it is painted over.
struct TextRecord {
    std::string text;
    POINT origin;  // top-left corner, in the coordinates of the bitmap holding the text
    COLORREF colour;
    bool transparent;  // background mode TRANSPARENT when drawn
    HFONT font;
    HDC dc;  // the device context it was drawn through
};

// One BitBlt onto a bitmap, as clipped by nothing: where, from which bitmap, how.
struct BlitRecord {
    HBITMAP source;
    RECT target;
    DWORD rop;
};

class Gdi : public platform::IGdi {
public:
    explicit Gdi(Machine& machine);
    ~Gdi() override;

    // --- For the window manager ---
    // A device context that draws onto the bitmap without selecting it, so several may
    // exist at once, as window DCs do; freed with DeleteDC. Null for a non-bitmap.
    HDC CreateSurfaceDC(HBITMAP surface);
    // A font with the given face and cell height in pixels; characters are half as wide
    // as the font is high, per byte.
    HFONT CreateFontObject(const std::string& face, int height);
    // The rectangles of a region in band order (top to bottom, left to right); empty for
    // an empty or unknown region.
    std::vector<RECT> RegionRects(HRGN region) const;

    // --- Inspection by tests ---
    // Texts on a bitmap, or on the bitmap a device context draws on, in drawing order.
    std::vector<TextRecord> Texts(HGDIOBJ bitmapOrDc) const;
    // Every BitBlt onto a bitmap, or onto the bitmap a device context draws on, in order.
    std::vector<BlitRecord> Blits(HGDIOBJ bitmapOrDc) const;
    // A pixel of a bitmap, or of the bitmap a device context draws on; CLR_INVALID outside.
    COLORREF PixelOf(HGDIOBJ bitmapOrDc, int x, int y) const;
    HBITMAP SelectedBitmap(HDC dc) const;
    // Bitmaps, brushes, fonts and regions not yet deleted (stock objects excluded).
    size_t LiveObjects() const;
    size_t LiveDcs() const;
    // Makes the named IGdi call fail once, after `successes` further calls of it succeeded.
    void FailCall(const std::string& call, int successes = 0);

    // --- IGdi ---
    HDC CreateCompatibleDC(HDC dc) override;
    BOOL DeleteDC(HDC dc) override;
    HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) override;
    HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) override;
    HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                             DWORD offset) override;
    HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override;
    BOOL DeleteObject(HGDIOBJ object) override;
    int GetObjectA(HGDIOBJ object, int size, void* buffer) override;
    HGDIOBJ GetStockObject(int index) override;
    BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                DWORD rop) override;
    COLORREF GetPixel(HDC dc, int x, int y) override;
    COLORREF SetTextColor(HDC dc, COLORREF color) override;
    COLORREF SetBkColor(HDC dc, COLORREF color) override;
    int SetBkMode(HDC dc, int mode) override;
    BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) override;
    int DrawTextA(HDC dc, const char* text, int length, RECT* rect, UINT format) override;
    BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT length,
                     const int* dx) override;
    HBRUSH CreateSolidBrush(COLORREF color) override;
    int FillRect(HDC dc, const RECT* rect, HBRUSH brush) override;
    BOOL DrawStateA(HDC dc, HBRUSH brush, void* callback, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
                    UINT flags) override;
    HRGN CreateRectRgn(int left, int top, int right, int bottom) override;
    HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data) override;
    int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) override;
    DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data) override;

    struct Object;
    struct Bitmap;
    struct Dc;

private:
    HGDIOBJ AddObject(std::unique_ptr<Object> object);
    template <typename T>
    T* Find(HGDIOBJ handle) const;
    Bitmap* TargetOf(HGDIOBJ bitmapOrDc) const;
    Bitmap* NewBitmap(int width, int height, int bitsPerPixel, bool dib, bool bottomUp, HBITMAP* handle);
    bool ShouldFail(const char* call);
    // Fills a rectangle of the DC's bitmap with a colour and drops the texts it covers.
    void Fill(Dc& dc, RECT rect, COLORREF colour);
    void DrawLine(HDC handle, Dc& dc, int x, int y, const std::string& text);
    int FontHeight(const Dc& dc) const;

    mutable std::mutex mutex_;
    std::map<uintptr_t, std::unique_ptr<Object>> objects_;
    std::map<int, HGDIOBJ> stock_;
    HBITMAP defaultBitmap_ = nullptr;  // the 1 x 1 monochrome bitmap of new memory DCs
    std::map<std::string, int> failures_;
    uintptr_t next_ = 0x3000000;
};

}  // namespace sim
