// Windows, messages, dialogs and resources, forwarded to user32.
#include "platform/RuntimeImports.h"
#include "platform/win32/Win32.h"

#include <commctrl.h>
#include <shellapi.h>

// On 32-bit Windows the pointer-sized variants are macros for the plain functions,
// which would rename the seam's methods.
#ifdef GetWindowLongPtrA
#undef GetWindowLongPtrA
#undef SetWindowLongPtrA
inline LONG_PTR GetWindowLongPtrA(::HWND window, int index) { return ::GetWindowLongA(window, index); }
inline LONG_PTR SetWindowLongPtrA(::HWND window, int index, LONG_PTR value) {
    return ::SetWindowLongA(window, index, static_cast<LONG>(value));
}
#endif

KESTRAVA_SAME_LAYOUT(INITCOMMONCONTROLSEX);
KESTRAVA_SAME_LAYOUT(RECT);
KESTRAVA_SAME_LAYOUT(POINT);
KESTRAVA_SAME_LAYOUT(MSG);
KESTRAVA_SAME_LAYOUT(PAINTSTRUCT);
KESTRAVA_SAME_LAYOUT(DRAWITEMSTRUCT);
KESTRAVA_SAME_LAYOUT(TRACKMOUSEEVENT);
KESTRAVA_SAME_LAYOUT(TTTOOLINFOA);
KESTRAVA_SAME_LAYOUT(DISPLAY_DEVICEA);
static_assert(sizeof(win::NOTIFYICONDATAA) == NOTIFYICONDATAA_V2_SIZE, "NOTIFYICONDATAA layout differs");
static_assert(offsetof(win::NOTIFYICONDATAA, szTip) + 64 == NOTIFYICONDATAA_V1_SIZE, "NOTIFYICONDATAA first size differs");
KESTRAVA_SAME_LAYOUT(WINDOWPLACEMENT);
KESTRAVA_SAME_LAYOUT(MONITORINFO);

namespace {

::HWND W(win::HWND window) { return static_cast<::HWND>(window); }
::RECT* R(win::RECT* rect) { return reinterpret_cast<::RECT*>(rect); }
::POINT* P(win::POINT* point) { return reinterpret_cast<::POINT*>(point); }
::MSG* M(win::MSG* message) { return reinterpret_cast<::MSG*>(message); }
const ::MSG* M(const win::MSG* message) { return reinterpret_cast<const ::MSG*>(message); }

class Win32User : public platform::IUser {
public:
    win::HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                              int width, int height, win::HWND parent, win::HMENU menu, win::HINSTANCE instance,
                              void* parameter) override {
        return ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, W(parent),
                                 static_cast<::HMENU>(menu), static_cast<::HINSTANCE>(instance), parameter);
    }
    win::HWND GetDesktopWindow() override { return ::GetDesktopWindow(); }
    win::HWND FindWindowA(const char* className, const char* windowName) override {
        return ::FindWindowA(className, windowName);
    }
    BOOL EnumWindows(win::WNDENUMPROC callback, LPARAM context) override {
        return ::EnumWindows(reinterpret_cast<WNDENUMPROC>(callback), context);
    }
    DWORD GetWindowThreadProcessId(win::HWND window, DWORD* processId) override {
        return ::GetWindowThreadProcessId(W(window), processId);
    }
    BOOL IsWindow(win::HWND window) override { return ::IsWindow(W(window)); }
    BOOL IsWindowVisible(win::HWND window) override { return ::IsWindowVisible(W(window)); }
    BOOL IsIconic(win::HWND window) override { return ::IsIconic(W(window)); }
    BOOL GetWindowPlacement(win::HWND window, win::WINDOWPLACEMENT* placement) override {
        return ::GetWindowPlacement(W(window), reinterpret_cast<::WINDOWPLACEMENT*>(placement));
    }
    win::HWND GetWindow(win::HWND window, UINT command) override { return ::GetWindow(W(window), command); }
    int GetClassNameA(win::HWND window, char* buffer, int size) override {
        return ::GetClassNameA(W(window), buffer, size);
    }
    BOOL ShowWindow(win::HWND window, int command) override { return ::ShowWindow(W(window), command); }
    BOOL SetWindowPos(win::HWND window, win::HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override {
        return ::SetWindowPos(W(window), W(insertAfter), x, y, cx, cy, flags);
    }
    BOOL GetWindowRect(win::HWND window, win::RECT* rect) override { return ::GetWindowRect(W(window), R(rect)); }
    BOOL GetClientRect(win::HWND window, win::RECT* rect) override { return ::GetClientRect(W(window), R(rect)); }
    BOOL ScreenToClient(win::HWND window, win::POINT* point) override { return ::ScreenToClient(W(window), P(point)); }
    BOOL ClientToScreen(win::HWND window, win::POINT* point) override { return ::ClientToScreen(W(window), P(point)); }
    BOOL SetWindowTextA(win::HWND window, const char* text) override { return ::SetWindowTextA(W(window), text); }
    int GetWindowTextA(win::HWND window, char* buffer, int size) override {
        return ::GetWindowTextA(W(window), buffer, size);
    }
    int GetWindowTextLengthA(win::HWND window) override { return ::GetWindowTextLengthA(W(window)); }
    win::HWND GetDlgItem(win::HWND dialog, int id) override { return ::GetDlgItem(W(dialog), id); }
    int GetDlgCtrlID(win::HWND window) override { return ::GetDlgCtrlID(W(window)); }
    win::HWND GetParent(win::HWND window) override { return ::GetParent(W(window)); }
    INT_PTR GetWindowLongPtrA(win::HWND window, int index) override { return ::GetWindowLongPtrA(W(window), index); }
    INT_PTR SetWindowLongPtrA(win::HWND window, int index, INT_PTR value) override {
        return ::SetWindowLongPtrA(W(window), index, value);
    }
    BOOL EnableWindow(win::HWND window, BOOL enable) override { return ::EnableWindow(W(window), enable); }
    BOOL IsWindowEnabled(win::HWND window) override { return ::IsWindowEnabled(W(window)); }
    BOOL DestroyWindow(win::HWND window) override { return ::DestroyWindow(W(window)); }
    int SetWindowRgn(win::HWND window, win::HRGN region, BOOL redraw) override {
        return ::SetWindowRgn(W(window), static_cast<::HRGN>(region), redraw);
    }
    win::HWND WindowFromPoint(win::POINT point) override { return ::WindowFromPoint(::POINT{point.x, point.y}); }
    BOOL GetCursorPos(win::POINT* point) override { return ::GetCursorPos(P(point)); }
    win::HWND SetFocus(win::HWND window) override { return ::SetFocus(W(window)); }
    win::HWND GetFocus() override { return ::GetFocus(); }
    win::HWND GetActiveWindow() override { return ::GetActiveWindow(); }
    win::HWND GetNextDlgTabItem(win::HWND dialog, win::HWND control, BOOL previous) override {
        return ::GetNextDlgTabItem(W(dialog), W(control), previous);
    }
    BOOL TrackMouseEvent(win::TRACKMOUSEEVENT* request) override {
        return ::TrackMouseEvent(reinterpret_cast<::TRACKMOUSEEVENT*>(request));
    }

    LRESULT SendMessageA(win::HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return ::SendMessageA(W(window), message, wParam, lParam);
    }
    BOOL PostMessageA(win::HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_QUIT && window == nullptr) {
            ::PostQuitMessage(static_cast<int>(wParam));
            return TRUE;
        }
        return ::PostMessageA(W(window), message, wParam, lParam);
    }
    BOOL GetMessageA(win::MSG* message, win::HWND window, UINT first, UINT last) override {
        return ::GetMessageA(M(message), W(window), first, last);
    }
    BOOL PeekMessageA(win::MSG* message, win::HWND window, UINT first, UINT last, UINT remove) override {
        return ::PeekMessageA(M(message), W(window), first, last, remove);
    }
    BOOL TranslateMessage(const win::MSG* message) override { return ::TranslateMessage(M(message)); }
    LRESULT DispatchMessageA(const win::MSG* message) override { return ::DispatchMessageA(M(message)); }
    BOOL IsDialogMessageA(win::HWND dialog, win::MSG* message) override {
        return ::IsDialogMessageA(W(dialog), M(message));
    }
    LRESULT CallWindowProcA(win::WNDPROC procedure, win::HWND window, UINT message, WPARAM wParam,
                            LPARAM lParam) override {
        return ::CallWindowProcA(reinterpret_cast<WNDPROC>(procedure), W(window), message, wParam, lParam);
    }
    LRESULT DefWindowProcA(win::HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return ::DefWindowProcA(W(window), message, wParam, lParam);
    }
    UINT_PTR SetTimer(win::HWND window, UINT_PTR id, UINT milliseconds, win::TIMERPROC callback) override {
        return ::SetTimer(W(window), id, milliseconds, reinterpret_cast<TIMERPROC>(callback));
    }
    BOOL KillTimer(win::HWND window, UINT_PTR id) override { return ::KillTimer(W(window), id); }
    UINT RegisterWindowMessageA(const char* name) override { return ::RegisterWindowMessageA(name); }

    win::HMENU CreatePopupMenu() override { return ::CreatePopupMenu(); }
    BOOL AppendMenuA(win::HMENU menu, UINT flags, UINT_PTR id, const char* text) override {
        return ::AppendMenuA(static_cast<::HMENU>(menu), flags, id, text);
    }
    BOOL TrackPopupMenu(win::HMENU menu, UINT flags, int x, int y, int reserved, win::HWND owner,
                        const win::RECT* rect) override {
        return ::TrackPopupMenu(static_cast<::HMENU>(menu), flags, x, y, reserved, W(owner),
                                reinterpret_cast<const ::RECT*>(rect));
    }
    BOOL DestroyMenu(win::HMENU menu) override { return ::DestroyMenu(static_cast<::HMENU>(menu)); }
    BOOL SetForegroundWindow(win::HWND window) override { return ::SetForegroundWindow(W(window)); }

    INT_PTR DialogBoxParamA(win::HINSTANCE instance, const char* templateName, win::HWND parent,
                            win::DLGPROC procedure, LPARAM parameter) override {
        // The dialogs use the progress bar class of the common controls. Registered here
        // rather than at load, so that whatever the common controls load by name comes
        // after the program has restricted its library search; and a run-time import of the
        // system folder's library, since an import by name would load a comctl32.dll
        // beside the program.
        win::INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        if (auto initCommonControls = platform::imports::InitCommonControlsEx()) initCommonControls(&controls);
        return ::DialogBoxParamA(static_cast<::HINSTANCE>(instance), templateName, W(parent),
                                 reinterpret_cast<DLGPROC>(procedure), parameter);
    }
    BOOL EndDialog(win::HWND dialog, INT_PTR result) override { return ::EndDialog(W(dialog), result); }
    int MessageBoxA(win::HWND owner, const char* text, const char* caption, UINT type) override {
        return ::MessageBoxA(W(owner), text, caption, type);
    }

    BOOL InvalidateRect(win::HWND window, const win::RECT* rect, BOOL erase) override {
        return ::InvalidateRect(W(window), reinterpret_cast<const ::RECT*>(rect), erase);
    }
    BOOL UpdateWindow(win::HWND window) override { return ::UpdateWindow(W(window)); }
    win::HDC BeginPaint(win::HWND window, win::PAINTSTRUCT* paint) override {
        return ::BeginPaint(W(window), reinterpret_cast<::PAINTSTRUCT*>(paint));
    }
    BOOL EndPaint(win::HWND window, const win::PAINTSTRUCT* paint) override {
        return ::EndPaint(W(window), reinterpret_cast<const ::PAINTSTRUCT*>(paint));
    }
    win::HDC GetDC(win::HWND window) override { return ::GetDC(W(window)); }
    int ReleaseDC(win::HWND window, win::HDC dc) override { return ::ReleaseDC(W(window), static_cast<::HDC>(dc)); }
    win::HICON LoadIconA(win::HINSTANCE instance, const char* name) override {
        return ::LoadIconA(static_cast<::HINSTANCE>(instance), name);
    }
    BOOL DrawIcon(win::HDC dc, int x, int y, win::HICON icon) override {
        return ::DrawIcon(static_cast<::HDC>(dc), x, y, static_cast<::HICON>(icon));
    }
    win::HANDLE LoadImageA(win::HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags) override {
        return ::LoadImageA(static_cast<::HINSTANCE>(instance), name, type, cx, cy, flags);
    }
    int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }
    DWORD GetSysColor(int index) override { return ::GetSysColor(index); }
};

Win32User user;

struct Install {
    Install() { platform::Current().user = &user; }
} install;

}  // namespace
