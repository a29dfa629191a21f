// The skinned window background shared by both dialogs.
#pragma once

#include "platform/GdiTypes.h"

// Paints, in order: the ground, the title-bar tiles from x = 3 every 30 pixels, the body
// picture at (x, y), the title-bar ends, and the outer and inner one-pixel borders.
void PaintSkinFrame(win::HDC dc, const win::RECT& windowRect, int x, int y, win::HBITMAP body);
