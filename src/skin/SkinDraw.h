// Small drawing pieces of the skin: whole bitmaps, solid rectangles and flat frames.
#pragma once

#include "platform/GdiTypes.h"

// Draws the whole bitmap with its top-left corner at (x, y); 1 when drawn, else 0.
// width and height receive the bitmap's size, only when both are given.
int DrawBitmapAt(win::HDC dc, win::HBITMAP bitmap, int x, int y, int* width = nullptr, int* height = nullptr);

// A bitmap resource of the application as a DIB section, or null; the caller deletes it.
win::HBITMAP LoadSkinBitmap(int resourceId);

// Fills the rectangle through the background colour, which keeps the colour afterwards.
void FillSolidRect(win::HDC dc, const win::RECT& rect, win::COLORREF colour);

// One-pixel frame just inside the rectangle: top and left edges in one colour, right
// and bottom edges in the other.
void Draw3dRect(win::HDC dc, const win::RECT& rect, win::COLORREF topLeft, win::COLORREF bottomRight);
