// A tooltip control of the common controls: a short text shown while the pointer
// rests on a control.
#pragma once

#include "ui/Window.h"

namespace ui {

class ToolTip : public Window {
public:
    // Creates the tooltip window, owned by the dialog, which destroys it with itself.
    bool Create(HWND owner);
    // The control's text; the tooltip watches the pointer over the control by itself.
    bool AddTool(HWND control, const char* text) const;
};

}  // namespace ui
