#include "skin/SkinBackground.h"

#include "platform/Platform.h"
#include "platform/ScopedGdiObject.h"
#include "skin/MemoryDc.h"
#include "skin/SkinFrame.h"
#include "ui/Window.h"

using namespace win;

void PaintSkinnedBackground(HDC dc, HWND handle, HBITMAP body) {
    platform::IGdi& gdi = platform::Gdi();
    ui::Window window;
    window.SetHandle(handle);
    RECT client = window.ClientRect();
    const platform::ScopedGdiObject offscreen(gdi.CreateCompatibleBitmap(dc, client.right, client.bottom));
    MemoryDc memory(dc);  // made after the bitmap, so it lets go of it first
    if (memory.Select(offscreen.Get())) {
        PaintSkinFrame(memory.Get(), client, 1, 31, body);
        HFONT font = window.Font();
        HGDIOBJ oldFont = font ? gdi.SelectObject(memory.Get(), font) : nullptr;
        gdi.SetTextColor(memory.Get(), RGB(255, 255, 255));
        gdi.SetBkMode(memory.Get(), TRANSPARENT);
        std::string title = window.Text();
        gdi.TextOutA(memory.Get(), 15, 10, title.c_str(), static_cast<int>(title.size()));
        if (oldFont != nullptr) gdi.SelectObject(memory.Get(), oldFont);
        gdi.BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
}
