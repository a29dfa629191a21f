#include "ui/Window.h"

#include <vector>

#include "platform/Platform.h"

namespace ui {

LRESULT Window::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return platform::User().SendMessageA(hwnd_, message, wParam, lParam);
}

BOOL Window::SetPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const {
    return platform::User().SetWindowPos(hwnd_, insertAfter, x, y, cx, cy, flags);
}

RECT Window::WindowRect() const {
    RECT rect{};
    platform::User().GetWindowRect(hwnd_, &rect);
    return rect;
}

RECT Window::ClientRect() const {
    RECT rect{};
    platform::User().GetClientRect(hwnd_, &rect);
    return rect;
}

RECT Window::RectIn(HWND other) const {
    RECT rect = WindowRect();
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    platform::User().ScreenToClient(other, &topLeft);
    platform::User().ScreenToClient(other, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

BOOL Window::Show(int command) const { return platform::User().ShowWindow(hwnd_, command); }

std::string Window::Text() const {
    int length = platform::User().GetWindowTextLengthA(hwnd_);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    platform::User().GetWindowTextA(hwnd_, buffer.data(), length + 1);
    return std::string(buffer.data());
}

void Window::SetText(const std::string& text) const { platform::User().SetWindowTextA(hwnd_, text.c_str()); }

void Window::Invalidate(BOOL erase) const { platform::User().InvalidateRect(hwnd_, nullptr, erase); }

HFONT Window::Font() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }

// --- Control ---

Control::~Control() { Detach(); }

void Control::Attach(HWND hwnd) {
    Detach();
    SetHandle(hwnd);
    platform::IUser& user = platform::User();
    user.SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<INT_PTR>(this));
    previous_ = reinterpret_cast<WNDPROC>(
        user.SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<INT_PTR>(&Control::Procedure)));
    OnAttached();
}

void Control::Detach() {
    HWND hwnd = Handle();
    if (hwnd == nullptr || previous_ == nullptr) return;
    platform::IUser& user = platform::User();
    if (user.IsWindow(hwnd)) {
        user.SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<INT_PTR>(previous_));
        user.SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    previous_ = nullptr;
    SetHandle(nullptr);
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

bool Control::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::User().CallWindowProcA(previous_, Handle(), message, wParam, lParam);
}

LRESULT KAPI Control::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::IUser& user = platform::User();
    auto* control = reinterpret_cast<Control*>(user.GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (control == nullptr) return user.DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_DESTROY) {
        // The window goes away: hand it back to its own procedure first.
        WNDPROC previous = control->previous_;
        LRESULT result = control->WindowProc(message, wParam, lParam);
        if (control->previous_ == previous) control->Detach();
        return result;
    }
    return control->WindowProc(message, wParam, lParam);
}

// --- ProgressBar ---

void ProgressBar::SetRange(int low, int high) const {
    Send(PBM_SETRANGE, 0, static_cast<LPARAM>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}

void ProgressBar::SetStep(int step) const { Send(PBM_SETSTEP, static_cast<WPARAM>(step)); }

int ProgressBar::SetPos(int position) const { return static_cast<int>(Send(PBM_SETPOS, static_cast<WPARAM>(position))); }

int ProgressBar::GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }

int ProgressBar::StepIt() const { return static_cast<int>(Send(PBM_STEPIT)); }

}  // namespace ui
