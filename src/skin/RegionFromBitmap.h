// A window region covering the pixels of a bitmap that are not of a key colour.
#pragma once

#include "platform/GdiTypes.h"

// Returns a new region (owned by the caller) or null; the bitmap stays the caller's.
// A nonzero scan mode collects the runs of pixels that are not of the key colour, zero
// collects the key-coloured runs and inverts them against the full bitmap; both give
// the same area. Each channel of the key counts with a tolerance of about 17 levels.
win::HRGN RegionFromBitmap(win::HBITMAP bitmap, win::COLORREF key, int scanMode);
