// Windows, messages and dialogs area of the platform seam.
#pragma once

#include "GdiTypes.h"
#include "UserTypes.h"

namespace platform {
using namespace win;

class IUser {
public:
    virtual ~IUser() = default;

    // Window tree and geometry
    virtual HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                                 int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                 void* parameter) = 0;
    virtual HWND GetDesktopWindow() = 0;
    virtual HWND FindWindowA(const char* className, const char* windowName) = 0;
    virtual BOOL EnumWindows(WNDENUMPROC callback, LPARAM context) = 0;
    virtual DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) = 0;
    virtual BOOL IsWindow(HWND window) = 0;
    virtual BOOL IsWindowVisible(HWND window) = 0;
    virtual BOOL IsIconic(HWND window) = 0;
    virtual BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) = 0;
    virtual HWND GetWindow(HWND window, UINT command) = 0;
    virtual int GetClassNameA(HWND window, char* buffer, int size) = 0;
    virtual BOOL ShowWindow(HWND window, int command) = 0;
    virtual BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) = 0;
    virtual BOOL GetWindowRect(HWND window, RECT* rect) = 0;
    virtual BOOL GetClientRect(HWND window, RECT* rect) = 0;
    virtual BOOL ScreenToClient(HWND window, POINT* point) = 0;
    virtual BOOL ClientToScreen(HWND window, POINT* point) = 0;
    virtual BOOL SetWindowTextA(HWND window, const char* text) = 0;
    virtual int GetWindowTextA(HWND window, char* buffer, int size) = 0;
    virtual int GetWindowTextLengthA(HWND window) = 0;
    virtual HWND GetDlgItem(HWND dialog, int id) = 0;
    virtual int GetDlgCtrlID(HWND window) = 0;
    virtual HWND GetParent(HWND window) = 0;
    virtual INT_PTR GetWindowLongPtrA(HWND window, int index) = 0;
    virtual INT_PTR SetWindowLongPtrA(HWND window, int index, INT_PTR value) = 0;
    virtual BOOL EnableWindow(HWND window, BOOL enable) = 0;
    virtual BOOL IsWindowEnabled(HWND window) = 0;
    virtual BOOL DestroyWindow(HWND window) = 0;
    virtual int SetWindowRgn(HWND window, HRGN region, BOOL redraw) = 0;
    virtual HWND WindowFromPoint(POINT point) = 0;
    virtual BOOL GetCursorPos(POINT* point) = 0;
    virtual HWND SetFocus(HWND window) = 0;
    virtual HWND GetFocus() = 0;
    virtual HWND GetActiveWindow() = 0;
    virtual HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) = 0;
    virtual BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) = 0;

    // Messages
    virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last) = 0;
    virtual BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove) = 0;
    virtual BOOL TranslateMessage(const MSG* message) = 0;
    virtual LRESULT DispatchMessageA(const MSG* message) = 0;
    virtual BOOL IsDialogMessageA(HWND dialog, MSG* message) = 0;
    virtual LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) = 0;
    virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback) = 0;
    virtual BOOL KillTimer(HWND window, UINT_PTR id) = 0;
    virtual UINT RegisterWindowMessageA(const char* name) = 0;

    // Pop-up menus
    virtual HMENU CreatePopupMenu() = 0;
    virtual BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, const char* text) = 0;
    // Without TPM_RETURNCMD the chosen item's WM_COMMAND is posted to the owner.
    virtual BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                const RECT* rect) = 0;
    virtual BOOL DestroyMenu(HMENU menu) = 0;
    virtual BOOL SetForegroundWindow(HWND window) = 0;

    // Dialogs and message boxes
    virtual INT_PTR DialogBoxParamA(HINSTANCE instance, const char* templateName, HWND parent,
                                    DLGPROC procedure, LPARAM parameter) = 0;
    virtual BOOL EndDialog(HWND dialog, INT_PTR result) = 0;
    virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) = 0;

    // Painting and resources
    virtual BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) = 0;
    virtual BOOL UpdateWindow(HWND window) = 0;
    virtual HDC BeginPaint(HWND window, PAINTSTRUCT* paint) = 0;
    virtual BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) = 0;
    virtual HDC GetDC(HWND window) = 0;
    virtual int ReleaseDC(HWND window, HDC dc) = 0;
    virtual HICON LoadIconA(HINSTANCE instance, const char* name) = 0;
    virtual BOOL DrawIcon(HDC dc, int x, int y, HICON icon) = 0;
    virtual HANDLE LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    virtual DWORD GetSysColor(int index) = 0;
};

}  // namespace platform
