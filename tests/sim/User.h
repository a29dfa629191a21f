// The window manager of the simulated machine: windows owned by threads, posted
// and sent messages (SendMessageA across threads blocks until the owner handles
// it), timers, paint requests, modal dialogs built from the resource templates,
// the standard BUTTON, STATIC and progress classes, and message boxes answered by
// the test. The calling test thread plays the user.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/User.h"

namespace sim {
using namespace win;

class Machine;

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
};

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

class User : public platform::IUser {
public:
    explicit User(Machine& machine);
    ~User() override;

    // --- Test control ---
    void SetDesktopSize(int width, int height);
    // A taskbar window of class "Shell_TrayWnd" with this screen rectangle.
    HWND AddTaskbar(const RECT& rect);
    // A top-level window owned by the calling thread and the given process; the
    // default procedure when none is given.
    HWND CreateTopLevelWindow(const std::string& className, const std::string& title, DWORD processId,
                              bool visible, WNDPROC procedure = nullptr);
    // The monitors' screen rectangles, the first the primary one; none: one monitor, the desktop.
    // Each monitor's work area is the whole monitor.
    void SetMonitors(std::vector<RECT> monitors);
    void SetOwner(HWND window, HWND owner);
    // The handle now names a window of another process, as an ended window's handle reused.
    void HandOver(HWND window, DWORD processId);
    // EnumWindows calls so far.
    int Enumerations() const;
    // Answers message boxes; the default answers IDOK, or IDYES for MB_YESNO. A handler
    // answering 0 leaves the box up as a "#32770" window until a button command reaches it.
    void SetMessageBoxHandler(std::function<int(const MessageBoxRecord&)> handler);
    std::vector<MessageBoxRecord> MessageBoxes() const;
    // Posts a click to a button, as a mouse click would.
    void Click(HWND button);
    void PressKey(HWND window, int virtualKey);
    // Moves the pointer to a screen point: WM_MOUSEMOVE to the window under it, WM_MOUSELEAVE to a
    // window that asked for it and was left.
    void MoveMouse(POINT screen, bool leftButtonDown = false);
    // Waits until a visible top-level window with this text exists; null after the timeout.
    HWND WaitForWindow(const std::string& title, int timeoutMs = 10000) const;
    // Waits until the window no longer exists or is hidden.
    bool WaitUntilGone(HWND window, int timeoutMs = 10000) const;
    // Replaces the pixels LoadImageA gives for a bitmap resource (32-bit BGRA rows, top row first).
    void SetBitmapResource(int id, int width, int height, std::vector<DWORD> pixels);
    // Runs a function on the thread that owns the window, as a sent message would, and waits.
    void RunOnWindowThread(HWND window, std::function<void()> work);
    std::string ClassName(HWND window) const;
    DWORD Style(HWND window) const;
    HRGN Region(HWND window) const;
    // GDI objects the live windows hold: their regions and drawing surfaces.
    size_t WindowGdiObjects() const;
    std::vector<HWND> Children(HWND window) const;
    // Timers set on a window (id to interval in ms).
    std::map<UINT_PTR, UINT> Timers(HWND window) const;
    // The text a tooltip control shows for a control added to it as a tool; empty for none.
    std::string ToolTipText(HWND tool) const;
    // Chooses from each pop-up menu shown: the item id, or 0 to dismiss it (the default).
    void SetMenuHandler(std::function<UINT_PTR(const std::vector<MenuItem>&)> handler);
    // Menus created and not destroyed.
    size_t MenuCount() const;

    // --- IUser ---
    // Creates tooltip controls only.
    HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter) override;
    HWND GetDesktopWindow() override;
    HWND FindWindowA(const char* className, const char* windowName) override;
    BOOL EnumWindows(WNDENUMPROC callback, LPARAM context) override;
    DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override;
    BOOL IsWindow(HWND window) override;
    BOOL IsWindowVisible(HWND window) override;
    BOOL IsIconic(HWND window) override;
    BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) override;
    HWND GetWindow(HWND window, UINT command) override;
    int GetClassNameA(HWND window, char* buffer, int size) override;
    BOOL ShowWindow(HWND window, int command) override;
    BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override;
    BOOL GetWindowRect(HWND window, RECT* rect) override;
    BOOL GetClientRect(HWND window, RECT* rect) override;
    BOOL ScreenToClient(HWND window, POINT* point) override;
    BOOL ClientToScreen(HWND window, POINT* point) override;
    BOOL SetWindowTextA(HWND window, const char* text) override;
    int GetWindowTextA(HWND window, char* buffer, int size) override;
    int GetWindowTextLengthA(HWND window) override;
    HWND GetDlgItem(HWND dialog, int id) override;
    int GetDlgCtrlID(HWND window) override;
    HWND GetParent(HWND window) override;
    INT_PTR GetWindowLongPtrA(HWND window, int index) override;
    INT_PTR SetWindowLongPtrA(HWND window, int index, INT_PTR value) override;
    BOOL EnableWindow(HWND window, BOOL enable) override;
    BOOL IsWindowEnabled(HWND window) override;
    BOOL DestroyWindow(HWND window) override;
    int SetWindowRgn(HWND window, HRGN region, BOOL redraw) override;
    HWND WindowFromPoint(POINT point) override;
    BOOL GetCursorPos(POINT* point) override;
    HWND SetFocus(HWND window) override;
    HWND GetFocus() override;
    HWND GetActiveWindow() override;
    HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) override;
    BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) override;
    LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last) override;
    BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove) override;
    BOOL TranslateMessage(const MSG* message) override;
    LRESULT DispatchMessageA(const MSG* message) override;
    BOOL IsDialogMessageA(HWND dialog, MSG* message) override;
    LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback) override;
    BOOL KillTimer(HWND window, UINT_PTR id) override;
    UINT RegisterWindowMessageA(const char* name) override;
    HMENU CreatePopupMenu() override;
    BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, const char* text) override;
    BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect) override;
    BOOL DestroyMenu(HMENU menu) override;
    BOOL SetForegroundWindow(HWND window) override;
    INT_PTR DialogBoxParamA(HINSTANCE instance, const char* templateName, HWND parent, DLGPROC procedure,
                            LPARAM parameter) override;
    BOOL EndDialog(HWND dialog, INT_PTR result) override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override;
    BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) override;
    BOOL UpdateWindow(HWND window) override;
    HDC BeginPaint(HWND window, PAINTSTRUCT* paint) override;
    BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) override;
    HDC GetDC(HWND window) override;
    int ReleaseDC(HWND window, HDC dc) override;
    HICON LoadIconA(HINSTANCE instance, const char* name) override;
    BOOL DrawIcon(HDC dc, int x, int y, HICON icon) override;
    HANDLE LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags) override;
    int GetSystemMetrics(int index) override;
    DWORD GetSysColor(int index) override;

    // Exported from user32.dll.
    HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
    BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);

    // Dialog units of the template font, in pixels per 4 horizontal and 8 vertical units.
    static constexpr int kBaseUnitX = 6;
    static constexpr int kBaseUnitY = 12;

private:
    struct Timer {
        UINT_PTR id;
        UINT interval;
        TIMERPROC callback;
        std::chrono::steady_clock::time_point due;
    };
    struct Window {
        std::string className;
        std::string text;
        DWORD style = 0;
        DWORD exStyle = 0;
        RECT rect{};  // screen coordinates for top-level windows, parent client coordinates for children
        HWND parent = nullptr;
        HWND owner = nullptr;  // pop-up windows: destroyed with their owner
        int id = 0;
        WNDPROC procedure = nullptr;
        std::thread::id thread;
        DWORD processId = 0;
        bool enabled = true;
        bool minimized = false;
        RECT normal{};  // the restored rectangle while minimized
        bool needsPaint = false;
        bool eraseOnPaint = false;
        INT_PTR userData = 0;
        INT_PTR dialogUser = 0;
        INT_PTR messageResult = 0;
        DLGPROC dialogProcedure = nullptr;
        bool dialogEnded = false;
        INT_PTR dialogResult = 0;
        HFONT font = nullptr;
        HRGN region = nullptr;
        HBITMAP surface = nullptr;
        HICON icons[2] = {nullptr, nullptr};
        UINT check = 0;
        int rangeLow = 0, rangeHigh = 100, position = 0, step = 10;
        bool tracksLeave = false;
        std::map<UINT_PTR, Timer> timers;
        std::map<HWND, std::string> tools;  // tooltip controls: tool window to its text
    };
    struct Sent {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::function<void()> work;
        LRESULT result = 0;
        bool done = false;
    };
    struct Queue {
        std::deque<MSG> posted;
        std::deque<std::shared_ptr<Sent>> sent;
    };

    HWND CreateWindowRecord(Window window);
    Window* Find(HWND window);
    const Window* Find(HWND window) const;
    RECT ScreenRect(const Window& window) const;
    std::vector<RECT> Monitors() const;
    POINT ClientOrigin(const Window& window) const;
    bool IsDescendant(HWND window, HWND ancestor) const;
    LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Handles the messages sent to the calling thread; the lock is released while handlers run.
    void DeliverSent(std::unique_lock<std::mutex>& lock);
    bool NextMessage(std::unique_lock<std::mutex>& lock, MSG* message, bool remove);
    HDC WindowDC(HWND window);
    HWND CreateDialogWindow(int templateId, HWND parent, DLGPROC procedure);
    // Runs the calling thread's messages until the dialog ends; its result.
    INT_PTR RunModal(HWND dialog);
    INT_PTR RunMessageBoxWindow(const std::string& caption);
    DWORD ThreadIdOf(std::thread::id thread);
    DWORD CurrentProcessId() const;

    static LRESULT KAPI DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT KAPI ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT KAPI ToolTipProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT KAPI ProgressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR KAPI MessageBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT KAPI DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Machine& machine_;
    mutable std::mutex mutex_;
    mutable std::condition_variable wake_;
    std::map<uintptr_t, Window> windows_;
    std::vector<HWND> order_;  // creation order, for hit testing and the children's enumeration
    std::vector<HWND> zOrder_;  // top-level windows, topmost first; a new one goes on top
    int enumerations_ = 0;
    std::vector<RECT> monitors_;
    std::map<std::thread::id, Queue> queues_;
    std::map<std::thread::id, DWORD> threadIds_;
    std::map<std::thread::id, HWND> focus_;
    std::map<std::thread::id, std::vector<HWND>> activeDialogs_;
    std::map<int, std::pair<std::pair<int, int>, std::vector<DWORD>>> bitmapOverrides_;
    std::function<int(const MessageBoxRecord&)> messageBoxHandler_;
    std::vector<MessageBoxRecord> messageBoxes_;
    uintptr_t nextHandle_ = 0x20000;
    std::map<std::string, UINT> registeredMessages_;
    std::map<HMENU, std::vector<MenuItem>> menus_;
    std::function<UINT_PTR(const std::vector<MenuItem>&)> menuHandler_;
    HWND desktop_ = nullptr;
    POINT cursor_{0, 0};
    HWND hovered_ = nullptr;
};

}  // namespace sim
