// The background of both skinned dialogs.
#pragma once

#include "platform/GdiTypes.h"

// Composes the client area off screen (the skin frame with the body picture at (1, 31)
// and the window text in white at (15, 10) in the dialog's font) and copies it to dc
// in one piece.
void PaintSkinnedBackground(win::HDC dc, win::HWND window, win::HBITMAP body);
