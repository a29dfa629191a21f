// The five skin bitmaps shared by both dialogs, loaded once at start-up.
#pragma once

#include "platform/ScopedGdiObject.h"

struct SkinBitmapSet {
    platform::ScopedGdiObject titleLeft;   // 156, 3 x 31
    platform::ScopedGdiObject titleTile;   // 158, 30 x 31
    platform::ScopedGdiObject titleRight;  // 159, 2 x 31
    platform::ScopedGdiObject mainBody;    // 162, 498 x 177
    platform::ScopedGdiObject boostBody;   // 163, 316 x 177
};

// Loads 156, 158, 159, 162 and 163 as DIB sections; true when all five loaded.
bool LoadSkinBitmaps();
// Deletes them in that order, before the platform goes; the handles become null.
void FreeSkinBitmaps();
const SkinBitmapSet& SkinBitmaps();
