#include "skin/SkinStatic.h"

#include "resources/ResourceIds.h"

#include "platform/Platform.h"
#include "platform/ScopedGdiObject.h"
#include "skin/MemoryDc.h"
#include "skin/SkinDraw.h"

using namespace win;

namespace {
constexpr UINT_PTR kAnimationTimer = 0;
constexpr UINT kFrameMilliseconds = 100;
}  // namespace

void SkinStatic::AddFrame(int resourceId) {
    frames_.emplace_back(LoadSkinBitmap(resourceId));
    current_ = static_cast<int>(frames_.size()) - 1;
    bitmap_ = frames_.back().Get();
}

void SkinStatic::SetFrame(int index) {
    if (index < 0 || index >= FrameCount()) return;
    current_ = index;
    bitmap_ = frames_[static_cast<size_t>(index)].Get();
    Invalidate(TRUE);
}

void SkinStatic::NextFrame() { SetFrame(current_ == FrameCount() - 1 ? 0 : current_ + 1); }

void SkinStatic::StartAnimation() { platform::User().SetTimer(Handle(), kAnimationTimer, kFrameMilliseconds, nullptr); }

void SkinStatic::StopAnimation() { platform::User().KillTimer(Handle(), kAnimationTimer); }

LRESULT SkinStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_TIMER:
        NextFrame();
        return Default(message, wParam, lParam);
    case WM_DESTROY: {
        LRESULT result = Default(message, wParam, lParam);
        FreeFrames();
        return result;
    }
    default: return Default(message, wParam, lParam);
    }
}

// Drawn off screen and copied in one piece.
void SkinStatic::Paint() {
    platform::IUser& user = platform::User();
    platform::IGdi& gdi = platform::Gdi();
    PAINTSTRUCT paint{};
    HDC dc = user.BeginPaint(Handle(), &paint);
    RECT client = ClientRect();
    {
        const platform::ScopedGdiObject offscreen(gdi.CreateCompatibleBitmap(dc, client.right, client.bottom));
        MemoryDc memory(dc);  // made after the bitmap, so it lets go of it first
        if (memory.Select(offscreen.Get())) {
            int width = 0;
            int height = 0;
            DrawBitmapAt(memory.Get(), bitmap_, 0, 0, &width, &height);
            if (width > 0 && height > 0) SetPos(nullptr, 0, 0, width, height, SWP_NOMOVE);
            gdi.BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    user.EndPaint(Handle(), &paint);
}

void SkinStatic::FreeFrames() {
    frames_.clear();
    current_ = -1;
    bitmap_ = nullptr;
}

void AddBusyIndicatorFrames(SkinStatic& indicator) {
    for (int frame = resources::IDB_FRAME_FIRST; frame < resources::IDB_FRAME_FIRST + 7; ++frame) {
        indicator.AddFrame(frame);
    }
    indicator.AddFrame(resources::IDB_FRAME_LAST);
}
