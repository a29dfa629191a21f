// Our own dialog layer over the platform seam: windows, subclassed controls,
// modal dialogs from resource templates, the message pump and message boxes.
#pragma once

#include <string>

#include "platform/GdiTypes.h"
#include "platform/UserTypes.h"

namespace ui {
using namespace win;

// A window handle with the calls the dialogs make on it.
class Window {
public:
    virtual ~Window() = default;

    HWND Handle() const { return hwnd_; }
    void SetHandle(HWND hwnd) { hwnd_ = hwnd; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL SetPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const;
    RECT WindowRect() const;
    RECT ClientRect() const;
    // The window rectangle in the client coordinates of the given window.
    RECT RectIn(HWND other) const;
    BOOL Show(int command) const;
    std::string Text() const;
    void SetText(const std::string& text) const;
    void Invalidate(BOOL erase = TRUE) const;
    HFONT Font() const;

private:
    HWND hwnd_ = nullptr;
};

// A control whose messages pass through WindowProc first; bound to a dialog item
// with Dialog::Bind. Notifications that the parent receives about the control are
// offered to it first (OnReflected), as MFC's message reflection does.
class Control : public Window {
public:
    ~Control() override;

    void Attach(HWND hwnd);
    void Detach();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND, WM_DRAWITEM and WM_CTLCOLOR* sent to the parent about this control.
    // Returns true when the control has handled the message completely.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // Runs right after the window is subclassed (PreSubclassWindow).
    virtual void OnAttached() {}
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT KAPI Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC previous_ = nullptr;
};

// msctls_progress32
class ProgressBar : public Window {
public:
    void SetRange(int low, int high) const;
    void SetStep(int step) const;
    int SetPos(int position) const;
    int GetPos() const;
    int StepIt() const;
};

}  // namespace ui
