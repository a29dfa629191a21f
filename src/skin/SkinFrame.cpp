#include "skin/SkinFrame.h"

#include "skin/SkinBitmaps.h"
#include "skin/SkinDraw.h"

using namespace win;

namespace {

constexpr COLORREF kGround = RGB(245, 245, 245);
constexpr COLORREF kOuterBorder = RGB(112, 112, 112);
constexpr COLORREF kInnerBorder = RGB(93, 224, 255);
constexpr int kTileStart = 3;
constexpr int kTileWidth = 30;
constexpr int kRightEndWidth = 2;

}  // namespace

void PaintSkinFrame(HDC dc, const RECT& windowRect, int x, int y, HBITMAP body) {
    const SkinBitmapSet& skin = SkinBitmaps();
    LONG width = windowRect.right - windowRect.left;
    LONG height = windowRect.bottom - windowRect.top;
    FillSolidRect(dc, RECT{0, 0, width, height}, kGround);
    for (int tile = kTileStart; tile < width; tile += kTileWidth) DrawBitmapAt(dc, skin.titleTile.Get(), tile, 0);
    DrawBitmapAt(dc, body, x, y);
    DrawBitmapAt(dc, skin.titleLeft.Get(), 0, 0);
    DrawBitmapAt(dc, skin.titleRight.Get(), width - kRightEndWidth, 0);
    Draw3dRect(dc, windowRect, kOuterBorder, kOuterBorder);
    RECT inner{windowRect.left + 1, windowRect.top + 1, windowRect.right - 1, windowRect.bottom - 1};
    Draw3dRect(dc, inner, kInnerBorder, kInnerBorder);
}
