// The drag strip of the skinned dialogs: they have no caption, so their top 30 pixels
// act as one.
#pragma once

#include "platform/BaseTypes.h"

// True when the screen point of a WM_NCHITTEST (its lParam) lies less than 30 pixels
// below the window's top edge; the dialog then answers HTCAPTION.
bool HitsDragStrip(win::HWND window, win::LPARAM screenPoint);
