// The five skin bitmaps shared by both dialogs, loaded once at start-up.
#pragma once

#include "platform/GdiTypes.h"

struct SkinBitmapSet {
    win::HBITMAP titleLeft = nullptr;   // 156, 3 x 31
    win::HBITMAP titleTile = nullptr;   // 158, 30 x 31
    win::HBITMAP titleRight = nullptr;  // 159, 2 x 31
    win::HBITMAP mainBody = nullptr;    // 162, 498 x 177
    win::HBITMAP boostBody = nullptr;   // 163, 316 x 177
};

// Loads 156, 158, 159, 162 and 163 as DIB sections; true when all five loaded.
bool LoadSkinBitmaps();
// Deletes them in that order; the handles become null.
void FreeSkinBitmaps();
const SkinBitmapSet& SkinBitmaps();
