#include "sim/User.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"
#include "resources/Templates.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

HICON const kApplicationIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x1C0));

// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == WM_CTLCOLORBTN ||
           message == WM_CTLCOLORSTATIC;
}

HMONITOR KAPI MonitorFromRectEntry(const RECT* rect, DWORD flags) {
    return Machine::Current().user.MonitorFromRect(rect, flags);
}

BOOL KAPI GetMonitorInfoAEntry(HMONITOR monitor, MONITORINFO* info) {
    return Machine::Current().user.GetMonitorInfoA(monitor, info);
}

}  // namespace

User::User(Machine& machine) : machine_(machine) {
    Window desktop;
    desktop.className = "#32769";
    desktop.style = WS_VISIBLE;
    desktop.rect = RECT{0, 0, 1024, 768};
    desktop.procedure = &DefaultProcedure;
    desktop.thread = std::this_thread::get_id();
    desktop_ = CreateWindowRecord(desktop);
    platform::Current().user = this;
    machine.modules.Export("user32.dll", "MonitorFromRect", ProcCast<FARPROC>(&MonitorFromRectEntry));
    machine.modules.Export("user32.dll", "GetMonitorInfoA", ProcCast<FARPROC>(&GetMonitorInfoAEntry));
}

User::~User() { platform::Current().user = nullptr; }

// --- Records ---

HWND User::CreateWindowRecord(Window window) {
    HWND handle = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 0x10;
    windows_[reinterpret_cast<uintptr_t>(handle)] = std::move(window);
    order_.push_back(handle);
    const Window& created = windows_[reinterpret_cast<uintptr_t>(handle)];
    if (created.parent == nullptr) zOrder_.insert(zOrder_.begin(), handle);
    return handle;
}

User::Window* User::Find(HWND window) {
    auto it = windows_.find(reinterpret_cast<uintptr_t>(window));
    return it == windows_.end() ? nullptr : &it->second;
}

const User::Window* User::Find(HWND window) const {
    auto it = windows_.find(reinterpret_cast<uintptr_t>(window));
    return it == windows_.end() ? nullptr : &it->second;
}

POINT User::ClientOrigin(const Window& window) const {
    RECT screen = ScreenRect(window);
    return POINT{screen.left, screen.top};
}

RECT User::ScreenRect(const Window& window) const {
    RECT rect = window.rect;
    if (const Window* parent = Find(window.parent)) {
        POINT origin = ClientOrigin(*parent);
        rect.left += origin.x;
        rect.right += origin.x;
        rect.top += origin.y;
        rect.bottom += origin.y;
    }
    return rect;
}

bool User::IsDescendant(HWND window, HWND ancestor) const {
    for (HWND current = window; current != nullptr;) {
        if (current == ancestor) return true;
        const Window* record = Find(current);
        if (record == nullptr) return false;
        current = record->parent;
    }
    return false;
}

DWORD User::ThreadIdOf(std::thread::id thread) {
    auto it = threadIds_.find(thread);
    if (it != threadIds_.end()) return it->second;
    DWORD id = static_cast<DWORD>(100 + threadIds_.size() * 4);
    threadIds_[thread] = id;
    return id;
}

DWORD User::CurrentProcessId() const {
    if (platform::Current().processes != nullptr) return platform::Processes().GetCurrentProcessId();
    return 0x100;
}

// --- Test control ---

void User::SetDesktopSize(int width, int height) {
    std::lock_guard<std::mutex> lock(mutex_);
    Find(desktop_)->rect = RECT{0, 0, width, height};
}

HWND User::AddTaskbar(const RECT& rect) {
    HWND taskbar = CreateTopLevelWindow("Shell_TrayWnd", "", CurrentProcessId(), true);
    std::lock_guard<std::mutex> lock(mutex_);
    Find(taskbar)->rect = rect;
    return taskbar;
}

HWND User::CreateTopLevelWindow(const std::string& className, const std::string& title, DWORD processId,
                                bool visible, WNDPROC procedure) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window window;
    window.className = className;
    window.text = title;
    window.style = WS_POPUP | (visible ? WS_VISIBLE : 0);
    window.rect = RECT{100, 100, 300, 200};
    window.procedure = procedure ? procedure : &DefaultProcedure;
    window.thread = std::this_thread::get_id();
    window.processId = processId;
    return CreateWindowRecord(window);
}

void User::SetMonitors(std::vector<RECT> monitors) {
    std::lock_guard<std::mutex> lock(mutex_);
    monitors_ = std::move(monitors);
}

void User::SetOwner(HWND handle, HWND owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Window* window = Find(handle)) window->owner = owner;
}

void User::HandOver(HWND handle, DWORD processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Window* window = Find(handle)) window->processId = processId;
}

int User::Enumerations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return enumerations_;
}

void User::SetMessageBoxHandler(std::function<int(const MessageBoxRecord&)> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    messageBoxHandler_ = std::move(handler);
}

std::vector<MessageBoxRecord> User::MessageBoxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messageBoxes_;
}

void User::Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void User::PressKey(HWND window, int virtualKey) { PostMessageA(window, WM_KEYDOWN, virtualKey, 0); }

void User::MoveMouse(POINT screen, bool leftButtonDown) {
    HWND under = WindowFromPoint(screen);
    HWND left = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cursor_ = screen;
        if (hovered_ != under) {
            Window* previous = Find(hovered_);
            if (previous && previous->tracksLeave) {
                previous->tracksLeave = false;
                left = hovered_;
            }
            hovered_ = under;
        }
    }
    if (left) PostMessageA(left, WM_MOUSELEAVE, 0, 0);
    if (under) {
        POINT client = screen;
        ScreenToClient(under, &client);
        PostMessageA(under, WM_MOUSEMOVE, leftButtonDown ? 1 : 0, MAKELONG(static_cast<WORD>(client.x),
                                                                            static_cast<WORD>(client.y)));
    }
}

HWND User::WaitForWindow(const std::string& title, int timeoutMs) const {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        for (HWND handle : order_) {
            const Window* window = Find(handle);
            if (window && handle != desktop_ && window->parent == nullptr && (window->style & WS_VISIBLE) &&
                window->text == title) {
                return handle;
            }
        }
        if (wake_.wait_until(lock, deadline) == std::cv_status::timeout) return nullptr;
    }
}

bool User::WaitUntilGone(HWND handle, int timeoutMs) const {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const Window* window = Find(handle);
        if (window == nullptr || !(window->style & WS_VISIBLE)) return true;
        if (wake_.wait_until(lock, deadline) == std::cv_status::timeout) return false;
    }
}

void User::SetBitmapResource(int id, int width, int height, std::vector<DWORD> pixels) {
    std::lock_guard<std::mutex> lock(mutex_);
    bitmapOverrides_[id] = {{width, height}, std::move(pixels)};
}

void User::RunOnWindowThread(HWND handle, std::function<void()> work) {
    std::unique_lock<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return;
    if (window->thread == std::this_thread::get_id()) {
        lock.unlock();
        work();
        return;
    }
    auto sent = std::make_shared<Sent>();
    sent->window = handle;
    sent->work = std::move(work);
    queues_[window->thread].sent.push_back(sent);
    wake_.notify_all();
    while (!sent->done) {
        DeliverSent(lock);
        if (!sent->done) wake_.wait_for(lock, std::chrono::milliseconds(10));
    }
}

std::string User::ClassName(HWND handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window ? window->className : std::string();
}

DWORD User::Style(HWND handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window ? window->style : 0;
}

HRGN User::Region(HWND handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window ? window->region : nullptr;
}

size_t User::WindowGdiObjects() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t held = 0;
    for (const auto& entry : windows_) held += (entry.second.region != nullptr) + (entry.second.surface != nullptr);
    return held;
}

std::vector<HWND> User::Children(HWND handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HWND> children;
    for (HWND child : order_) {
        const Window* window = Find(child);
        if (window && window->parent == handle) children.push_back(child);
    }
    return children;
}

std::map<UINT_PTR, UINT> User::Timers(HWND handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::map<UINT_PTR, UINT> timers;
    if (const Window* window = Find(handle)) {
        for (const auto& timer : window->timers) timers[timer.first] = timer.second.interval;
    }
    return timers;
}

std::string User::ToolTipText(HWND tool) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& record : windows_) {
        auto found = record.second.tools.find(tool);
        if (found != record.second.tools.end()) return found->second;
    }
    return std::string();
}

// --- Window tree and geometry ---

HWND User::CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU, HINSTANCE, void*) {
    if (className == nullptr || Lower(className) != TOOLTIPS_CLASSA) return nullptr;
    DWORD processId = CurrentProcessId();
    std::lock_guard<std::mutex> lock(mutex_);
    Window window;
    window.className = className;
    window.text = windowName ? windowName : "";
    window.style = style;
    window.exStyle = exStyle;
    auto given = [](int value) { return value == CW_USEDEFAULT ? 0 : value; };
    window.rect = RECT{given(x), given(y), given(x) + given(width), given(y) + given(height)};
    window.owner = parent;
    window.procedure = &ToolTipProcedure;
    window.thread = std::this_thread::get_id();
    window.processId = processId;
    return CreateWindowRecord(window);
}

HWND User::GetDesktopWindow() { return desktop_; }

HWND User::FindWindowA(const char* className, const char* windowName) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (HWND handle : order_) {
        const Window* window = Find(handle);
        if (!window || window->parent != nullptr || handle == desktop_) continue;
        if (className && Lower(window->className) != Lower(className)) continue;
        if (windowName && window->text != windowName) continue;
        return handle;
    }
    return nullptr;
}

BOOL User::EnumWindows(WNDENUMPROC callback, LPARAM context) {
    std::vector<HWND> topLevel;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++enumerations_;
        for (HWND handle : zOrder_) {
            if (handle != desktop_) topLevel.push_back(handle);
        }
    }
    for (HWND handle : topLevel) {
        if (!callback(handle, context)) return FALSE;
    }
    return TRUE;
}

DWORD User::GetWindowThreadProcessId(HWND handle, DWORD* processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return 0;
    if (processId) *processId = window->processId;
    return ThreadIdOf(window->thread);
}

BOOL User::IsWindow(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(handle) != nullptr;
}

BOOL User::IsWindowVisible(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Window* window = Find(handle); window != nullptr; window = Find(window->parent)) {
        if (!(window->style & WS_VISIBLE)) return FALSE;
    }
    return Find(handle) != nullptr;
}

BOOL User::IsIconic(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window && window->minimized;
}

// The restored rectangle in workspace coordinates, which are the screen's while the work
// area starts at the screen's corner.
BOOL User::GetWindowPlacement(HWND handle, WINDOWPLACEMENT* placement) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    placement->flags = 0;
    placement->showCmd = window->minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    placement->rcNormalPosition = window->minimized ? window->normal : ScreenRect(*window);
    return TRUE;
}

HWND User::GetWindow(HWND handle, UINT command) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window && command == GW_OWNER ? window->owner : nullptr;
}

int User::GetClassNameA(HWND handle, char* buffer, int size) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr || size <= 0) return 0;
    const size_t copied = std::min(window->className.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, window->className.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

// Minimizing moves the window off the screen, as Windows does, and keeps its rectangle
// for the restore.
BOOL User::ShowWindow(HWND handle, int command) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    if ((command == SW_MINIMIZE || command == SW_SHOWMINIMIZED) && !window->minimized) {
        window->normal = window->rect;
        window->rect = RECT{-32000, -32000, -32000 + 160, -32000 + 28};
        window->minimized = true;
    } else if ((command == SW_RESTORE || command == SW_SHOWNORMAL) && window->minimized) {
        window->rect = window->normal;
        window->minimized = false;
    }
    if (command == SW_HIDE) {
        window->style &= ~WS_VISIBLE;
    } else {
        window->style |= WS_VISIBLE;
        window->needsPaint = true;
        window->eraseOnPaint = true;
    }
    wake_.notify_all();
    return wasVisible;
}

BOOL User::SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    RECT previous = window->rect;
    int width = window->rect.right - window->rect.left;
    int height = window->rect.bottom - window->rect.top;
    if (!(flags & SWP_NOMOVE)) {
        window->rect.left = x;
        window->rect.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        width = cx;
        height = cy;
    }
    if (!(flags & SWP_NOZORDER) && insertAfter == HWND_TOP && window->parent == nullptr) {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), handle), zOrder_.end());
        zOrder_.insert(zOrder_.begin(), handle);
    }
    window->rect.right = window->rect.left + width;
    window->rect.bottom = window->rect.top + height;
    bool resized = width != previous.right - previous.left || height != previous.bottom - previous.top;
    bool shown = (flags & SWP_SHOWWINDOW) && !(window->style & WS_VISIBLE);
    if (flags & SWP_SHOWWINDOW) window->style |= WS_VISIBLE;
    if (resized || shown) {
        window->needsPaint = true;
        window->eraseOnPaint = true;
        wake_.notify_all();
    }
    return TRUE;
}

BOOL User::GetWindowRect(HWND handle, RECT* rect) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    *rect = ScreenRect(*window);
    return TRUE;
}

BOOL User::GetClientRect(HWND handle, RECT* rect) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL User::ScreenToClient(HWND handle, POINT* point) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    POINT origin = ClientOrigin(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL User::ClientToScreen(HWND handle, POINT* point) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    POINT origin = ClientOrigin(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL User::SetWindowTextA(HWND handle, const char* text) {
    return static_cast<BOOL>(SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int User::GetWindowTextA(HWND handle, char* buffer, int size) {
    return static_cast<int>(SendMessageA(handle, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer)));
}

int User::GetWindowTextLengthA(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window ? static_cast<int>(window->text.size()) : 0;
}

HWND User::GetDlgItem(HWND dialog, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (HWND handle : order_) {
        const Window* window = Find(handle);
        if (window && window->parent == dialog && window->id == id) return handle;
    }
    return nullptr;
}

int User::GetDlgCtrlID(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window ? window->id : 0;
}

HWND User::GetParent(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window ? window->parent : nullptr;
}

INT_PTR User::GetWindowLongPtrA(HWND handle, int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    if (window == nullptr) return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<INT_PTR>(window->style);
    case GWL_EXSTYLE: return static_cast<INT_PTR>(window->exStyle);
    case GWLP_WNDPROC: return reinterpret_cast<INT_PTR>(window->procedure);
    case GWLP_USERDATA: return window->userData;
    case DWLP_MSGRESULT: return window->messageResult;
    case DWLP_USER: return window->dialogUser;
    default: return 0;
    }
}

INT_PTR User::SetWindowLongPtrA(HWND handle, int index, INT_PTR value) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return 0;
    INT_PTR previous = 0;
    switch (index) {
    case GWL_STYLE:
        previous = static_cast<INT_PTR>(window->style);
        window->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        previous = static_cast<INT_PTR>(window->exStyle);
        window->exStyle = static_cast<DWORD>(value);
        break;
    case GWLP_WNDPROC:
        previous = reinterpret_cast<INT_PTR>(window->procedure);
        window->procedure = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_USERDATA:
        previous = window->userData;
        window->userData = value;
        break;
    case DWLP_MSGRESULT:
        previous = window->messageResult;
        window->messageResult = value;
        break;
    case DWLP_USER:
        previous = window->dialogUser;
        window->dialogUser = value;
        break;
    default:
        break;
    }
    return previous;
}

BOOL User::EnableWindow(HWND handle, BOOL enable) {
    BOOL wasDisabled;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return FALSE;
        wasDisabled = !window->enabled;
        if (window->enabled == (enable != 0)) return wasDisabled;
        window->enabled = enable != 0;
    }
    SendMessageA(handle, WM_ENABLE, enable, 0);
    return wasDisabled;
}

BOOL User::IsWindowEnabled(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Window* window = Find(handle);
    return window && window->enabled;
}

// As on Windows, the windows a window owns go first, and a window hears of its
// destruction before its children do.
BOOL User::DestroyWindow(HWND handle) {
    if (!IsWindow(handle)) return FALSE;
    std::vector<HWND> owned;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& record : windows_) {
            if (record.second.owner == handle) owned.push_back(reinterpret_cast<HWND>(record.first));
        }
    }
    for (HWND window : owned) DestroyWindow(window);
    Call(handle, WM_DESTROY, 0, 0);
    for (HWND child : Children(handle)) DestroyWindow(child);
    HRGN region = nullptr;
    HBITMAP surface = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return FALSE;
        region = window->region;
        surface = window->surface;
        windows_.erase(reinterpret_cast<uintptr_t>(handle));
        order_.erase(std::remove(order_.begin(), order_.end(), handle), order_.end());
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), handle), zOrder_.end());
        if (hovered_ == handle) hovered_ = nullptr;
        for (auto& focus : focus_) {
            if (focus.second == handle) focus.second = nullptr;
        }
        // Senders waiting on the window get 0.
        for (auto& queue : queues_) {
            for (auto& sent : queue.second.sent) {
                if (sent->window == handle && !sent->work) sent->done = true;
            }
            auto& sent = queue.second.sent;
            sent.erase(std::remove_if(sent.begin(), sent.end(), [](const auto& s) { return s->done; }), sent.end());
            auto& posted = queue.second.posted;
            posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const MSG& m) { return m.hwnd == handle; }),
                         posted.end());
        }
        wake_.notify_all();
    }
    if (region) machine_.gdi.DeleteObject(region);
    if (surface) machine_.gdi.DeleteObject(surface);
    return TRUE;
}

int User::SetWindowRgn(HWND handle, HRGN region, BOOL) {
    HRGN previous;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return 0;
        previous = window->region;
        window->region = region;
        window->needsPaint = true;
    }
    if (previous && previous != region) machine_.gdi.DeleteObject(previous);
    return 1;
}

HWND User::WindowFromPoint(POINT point) {
    std::lock_guard<std::mutex> lock(mutex_);
    HWND best = nullptr;
    size_t bestDepth = 0;
    for (HWND handle : order_) {
        const Window* window = Find(handle);
        if (!window || handle == desktop_) continue;
        bool visible = true;
        size_t depth = 0;
        for (const Window* w = window; w != nullptr; w = Find(w->parent), ++depth) {
            if (!(w->style & WS_VISIBLE)) visible = false;
        }
        if (visible && Contains(ScreenRect(*window), point) && depth >= bestDepth) {
            best = handle;
            bestDepth = depth;
        }
    }
    return best ? best : desktop_;
}

BOOL User::GetCursorPos(POINT* point) {
    std::lock_guard<std::mutex> lock(mutex_);
    *point = cursor_;
    return TRUE;
}

HWND User::SetFocus(HWND handle) {
    HWND previous;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        previous = focus_[std::this_thread::get_id()];
        if (previous == handle) return previous;
        focus_[std::this_thread::get_id()] = handle;
    }
    if (previous) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    if (handle) SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND User::GetFocus() {
    std::lock_guard<std::mutex> lock(mutex_);
    return focus_[std::this_thread::get_id()];
}

HWND User::GetActiveWindow() {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& dialogs = activeDialogs_[std::this_thread::get_id()];
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        const Window* window = Find(*it);
        if (window && (window->style & WS_VISIBLE)) return *it;
    }
    return nullptr;
}

HWND User::GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> items;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (HWND handle : order_) {
            const Window* window = Find(handle);
            if (window && window->parent == dialog && (window->style & WS_TABSTOP) &&
                (window->style & WS_VISIBLE) && window->enabled) {
                items.push_back(handle);
            }
        }
    }
    if (items.empty()) return nullptr;
    if (previous) std::reverse(items.begin(), items.end());
    auto it = std::find(items.begin(), items.end(), control);
    if (it == items.end() || ++it == items.end()) return items.front();
    return *it;
}

BOOL User::TrackMouseEvent(TRACKMOUSEEVENT* request) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(request->hwndTrack);
    if (window == nullptr) return FALSE;
    if (request->dwFlags & TME_LEAVE) window->tracksLeave = true;
    return TRUE;
}

// --- Messages ---

LRESULT User::Call(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const Window* window = Find(handle);
        if (window == nullptr) return 0;
        procedure = window->procedure;
    }
    return procedure(handle, message, wParam, lParam);
}

void User::DeliverSent(std::unique_lock<std::mutex>& lock) {
    auto& queue = queues_[std::this_thread::get_id()].sent;
    while (!queue.empty()) {
        std::shared_ptr<Sent> sent = queue.front();
        queue.pop_front();
        lock.unlock();
        LRESULT result = 0;
        if (sent->work) {
            sent->work();
        } else {
            result = Call(sent->window, sent->message, sent->wParam, sent->lParam);
        }
        lock.lock();
        sent->result = result;
        sent->done = true;
        wake_.notify_all();
    }
}

LRESULT User::SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::unique_lock<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) {
        lock.unlock();
        platform::Handles().SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (window->thread == std::this_thread::get_id()) {
        lock.unlock();
        return Call(handle, message, wParam, lParam);
    }
    auto sent = std::make_shared<Sent>();
    *sent = Sent{handle, message, wParam, lParam, {}, 0, false};
    queues_[window->thread].sent.push_back(sent);
    wake_.notify_all();
    while (!sent->done) {
        DeliverSent(lock);
        if (!sent->done) wake_.wait_for(lock, std::chrono::milliseconds(10));
    }
    return sent->result;
}

BOOL User::PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    MSG posted{handle, message, wParam, lParam, 0, cursor_};
    queues_[window->thread].posted.push_back(posted);
    wake_.notify_all();
    return TRUE;
}

// Order of retrieval: sent messages (handled at once), posted messages, paint requests, timers.
bool User::NextMessage(std::unique_lock<std::mutex>& lock, MSG* message, bool remove) {
    DeliverSent(lock);
    std::thread::id self = std::this_thread::get_id();
    auto& posted = queues_[self].posted;
    if (!posted.empty()) {
        *message = posted.front();
        if (remove) posted.pop_front();
        return true;
    }
    for (HWND handle : order_) {
        Window* window = Find(handle);
        if (window && window->thread == self && window->needsPaint && (window->style & WS_VISIBLE)) {
            *message = MSG{handle, WM_PAINT, 0, 0, 0, cursor_};
            return true;
        }
    }
    auto now = Clock::now();
    for (HWND handle : order_) {
        Window* window = Find(handle);
        if (!window || window->thread != self) continue;
        for (auto& entry : window->timers) {
            Timer& timer = entry.second;
            if (timer.due <= now) {
                if (remove) timer.due = now + std::chrono::milliseconds(timer.interval);
                *message = MSG{handle, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.callback), 0, cursor_};
                return true;
            }
        }
    }
    return false;
}

BOOL User::GetMessageA(MSG* message, HWND, UINT, UINT) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!NextMessage(lock, message, true)) {
        // Sleep until something is queued or the next timer of this thread is due.
        auto wakeAt = Clock::now() + std::chrono::milliseconds(50);
        for (HWND handle : order_) {
            Window* window = Find(handle);
            if (!window || window->thread != std::this_thread::get_id()) continue;
            for (auto& timer : window->timers) wakeAt = std::min(wakeAt, timer.second.due);
        }
        wake_.wait_until(lock, wakeAt);
    }
    return message->message != WM_QUIT;
}

BOOL User::PeekMessageA(MSG* message, HWND, UINT, UINT, UINT remove) {
    std::unique_lock<std::mutex> lock(mutex_);
    return NextMessage(lock, message, (remove & PM_REMOVE) != 0);
}

BOOL User::TranslateMessage(const MSG*) { return FALSE; }

LRESULT User::DispatchMessageA(const MSG* message) {
    if (message->message == WM_TIMER && message->lParam != 0) {
        auto callback = reinterpret_cast<TIMERPROC>(message->lParam);
        callback(message->hwnd, WM_TIMER, message->wParam, 0);
        return 0;
    }
    return Call(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL User::IsDialogMessageA(HWND dialog, MSG* message) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!IsDescendant(message->hwnd, dialog)) return FALSE;
    }
    if (message->message == WM_KEYDOWN && (message->wParam == VK_ESCAPE || message->wParam == 0x0D)) {
        WPARAM command = message->wParam == VK_ESCAPE ? IDCANCEL : IDOK;
        SendMessageA(dialog, WM_COMMAND, command, reinterpret_cast<LPARAM>(GetDlgItem(dialog, static_cast<int>(command))));
        return TRUE;
    }
    DispatchMessageA(message);
    return TRUE;
}

LRESULT User::CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

UINT_PTR User::SetTimer(HWND handle, UINT_PTR id, UINT milliseconds, TIMERPROC callback) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return 0;
    window->timers[id] = Timer{id, milliseconds, callback, Clock::now() + std::chrono::milliseconds(milliseconds)};
    wake_.notify_all();
    return id == 0 ? 1 : id;
}

BOOL User::KillTimer(HWND handle, UINT_PTR id) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    return window && window->timers.erase(id) ? TRUE : FALSE;
}

// --- Window procedures of the standard classes ---

LRESULT User::DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return FALSE;
        window->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        window->needsPaint = true;
        wake_.notify_all();
        return TRUE;
    }
    case WM_GETTEXT: {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        char* buffer = reinterpret_cast<char*>(lParam);
        int size = static_cast<int>(wParam);
        if (window == nullptr || buffer == nullptr || size <= 0) return 0;
        int length = std::min(static_cast<int>(window->text.size()), size - 1);
        std::memcpy(buffer, window->text.data(), length);
        buffer[length] = '\0';
        return length;
    }
    case WM_SETFONT: {
        std::lock_guard<std::mutex> lock(mutex_);
        if (Window* window = Find(handle)) window->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    }
    case WM_GETFONT: {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        return window ? reinterpret_cast<LRESULT>(window->font) : 0;
    }
    case WM_SETICON: {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return 0;
        HICON& slot = window->icons[wParam == ICON_BIG ? 1 : 0];
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_CLOSE: DestroyWindow(handle); return 0;
    default: return 0;
    }
}

LRESULT KAPI User::DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Machine::Current().user.DefWindowProcA(window, message, wParam, lParam);
}

LRESULT KAPI User::ButtonProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    User& user = Machine::Current().user;
    switch (message) {
    case BM_GETCHECK: {
        std::lock_guard<std::mutex> lock(user.mutex_);
        Window* window = user.Find(handle);
        return window ? window->check : 0;
    }
    case BM_SETCHECK: {
        std::lock_guard<std::mutex> lock(user.mutex_);
        if (Window* window = user.Find(handle)) {
            window->check = static_cast<UINT>(wParam);
            window->needsPaint = true;
        }
        return 0;
    }
    case BM_SETSTYLE: {
        std::lock_guard<std::mutex> lock(user.mutex_);
        if (Window* window = user.Find(handle)) window->style = (window->style & ~0xFFFFu) | LOWORD(wParam);
        return 0;
    }
    case BM_CLICK:
    case WM_LBUTTONUP: {
        HWND parent;
        int id;
        {
            std::lock_guard<std::mutex> lock(user.mutex_);
            Window* window = user.Find(handle);
            if (window == nullptr || !window->enabled) return 0;
            if ((window->style & BS_TYPEMASK) == BS_AUTOCHECKBOX) window->check = window->check ? 0 : 1;
            window->needsPaint = true;
            parent = window->parent;
            id = window->id;
        }
        user.SendMessageA(parent, WM_COMMAND, MAKELONG(static_cast<WORD>(id), BN_CLICKED),
                          reinterpret_cast<LPARAM>(handle));
        return 0;
    }
    case WM_PAINT: {
        bool ownerDraw;
        HWND parent;
        int id;
        UINT state = 0;
        {
            std::lock_guard<std::mutex> lock(user.mutex_);
            Window* window = user.Find(handle);
            if (window == nullptr) return 0;
            ownerDraw = (window->style & BS_TYPEMASK) == BS_OWNERDRAW;
            parent = window->parent;
            id = window->id;
            if (!window->enabled) state |= ODS_DISABLED;
            if (user.focus_[std::this_thread::get_id()] == handle) state |= ODS_FOCUS;
        }
        PAINTSTRUCT paint;
        HDC dc = user.BeginPaint(handle, &paint);
        if (ownerDraw) {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.CtlID = static_cast<UINT>(id);
            item.itemState = state;
            item.hwndItem = handle;
            item.hDC = dc;
            user.GetClientRect(handle, &item.rcItem);
            user.SendMessageA(parent, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
        }
        user.EndPaint(handle, &paint);
        return 0;
    }
    default: return user.DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT KAPI User::ToolTipProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    User& user = Machine::Current().user;
    switch (message) {
    case TTM_ADDTOOLA: {
        const auto* tool = reinterpret_cast<const TTTOOLINFOA*>(lParam);
        if (tool == nullptr || tool->cbSize < TTTOOLINFOA_V2_SIZE || !(tool->uFlags & TTF_IDISHWND)) return FALSE;
        std::lock_guard<std::mutex> lock(user.mutex_);
        Window* window = user.Find(handle);
        if (window == nullptr) return FALSE;
        window->tools[reinterpret_cast<HWND>(tool->uId)] = tool->lpszText ? tool->lpszText : "";
        return TRUE;
    }
    case TTM_SETMAXTIPWIDTH: return -1;
    default: return user.DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT KAPI User::ProgressProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    User& user = Machine::Current().user;
    std::unique_lock<std::mutex> lock(user.mutex_);
    Window* window = user.Find(handle);
    if (window == nullptr) return 0;
    auto clamp = [window](int position) { return std::max(window->rangeLow, std::min(window->rangeHigh, position)); };
    LRESULT previous;
    switch (message) {
    case PBM_SETRANGE:
        previous = MAKELONG(static_cast<WORD>(window->rangeLow), static_cast<WORD>(window->rangeHigh));
        window->rangeLow = LOWORD(static_cast<uintptr_t>(lParam));
        window->rangeHigh = HIWORD(static_cast<uintptr_t>(lParam));
        window->position = clamp(window->position);
        return previous;
    case PBM_SETSTEP:
        previous = window->step;
        window->step = static_cast<int>(wParam);
        return previous;
    case PBM_SETPOS:
        previous = window->position;
        window->position = clamp(static_cast<int>(wParam));
        window->needsPaint = true;
        return previous;
    case PBM_STEPIT:
        previous = window->position;
        window->position += window->step;
        if (window->position > window->rangeHigh) {
            window->position = window->rangeLow + (window->position - window->rangeHigh);
        }
        window->needsPaint = true;
        return previous;
    case PBM_GETPOS: return window->position;
    default:
        lock.unlock();
        return user.DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT KAPI User::DialogProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    User& user = Machine::Current().user;
    DLGPROC procedure;
    {
        std::lock_guard<std::mutex> lock(user.mutex_);
        Window* window = user.Find(handle);
        if (window == nullptr) return 0;
        procedure = window->dialogProcedure;
        window->messageResult = 0;
    }
    INT_PTR handled = procedure ? procedure(handle, message, wParam, lParam) : FALSE;
    if (ReturnsDirectly(message)) return handled;
    if (handled) return user.GetWindowLongPtrA(handle, DWLP_MSGRESULT);
    switch (message) {
    case WM_CLOSE:
        user.PostMessageA(handle, WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_ERASEBKGND: return 1;
    default: return user.DefWindowProcA(handle, message, wParam, lParam);
    }
}

// --- Dialogs and message boxes ---

HWND User::CreateDialogWindow(int templateId, HWND parent, DLGPROC procedure) {
    const resources::DialogTemplate* dialogTemplate = resources::FindDialogTemplate(templateId);
    if (dialogTemplate == nullptr) return nullptr;
    HFONT font = static_cast<HFONT>(machine_.gdi.GetStockObject(DEFAULT_GUI_FONT));
    auto toPixels = [](short x, short y, short cx, short cy) {
        int left = x * kBaseUnitX / 4;
        int top = y * kBaseUnitY / 8;
        return RECT{left, top, left + cx * kBaseUnitX / 4, top + cy * kBaseUnitY / 8};
    };
    std::vector<std::pair<HWND, int>> bitmapStatics;
    HWND dialog;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window window;
        window.className = "#32770";
        window.style = dialogTemplate->style & ~WS_VISIBLE;
        window.exStyle = dialogTemplate->exStyle;
        window.rect = toPixels(0, 0, dialogTemplate->cx, dialogTemplate->cy);
        window.procedure = &DialogProcedure;
        window.dialogProcedure = procedure;
        window.thread = std::this_thread::get_id();
        window.processId = 0;
        window.font = font;
        window.parent = nullptr;
        dialog = CreateWindowRecord(window);
        (void)parent;
        for (const resources::ControlTemplate& control : dialogTemplate->controls) {
            Window child;
            child.className = control.className;
            child.text = control.text;
            child.style = control.style;
            child.rect = toPixels(control.x, control.y, control.cx, control.cy);
            child.parent = dialog;
            child.id = control.id;
            child.thread = window.thread;
            child.font = font;
            std::string lowerClass = Lower(control.className);
            child.procedure = lowerClass == "button"              ? &ButtonProcedure
                              : lowerClass == "msctls_progress32" ? &ProgressProcedure
                                                                  : &DefaultProcedure;
            HWND created = CreateWindowRecord(child);
            if (control.bitmap != 0) bitmapStatics.push_back({created, control.bitmap});
        }
    }
    DWORD processId = CurrentProcessId();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (HWND handle : order_) {
            Window* window = Find(handle);
            if (window && (handle == dialog || window->parent == dialog)) window->processId = processId;
        }
    }
    for (auto& bitmapStatic : bitmapStatics) {
        // SS_BITMAP statics take the size of their picture.
        const resources::BitmapResource* bitmap = resources::FindBitmapResource(bitmapStatic.second);
        if (bitmap == nullptr) continue;
        SetWindowPos(bitmapStatic.first, nullptr, 0, 0, bitmap->width, bitmap->height, SWP_NOMOVE | SWP_NOZORDER);
    }
    return dialog;
}

INT_PTR User::DialogBoxParamA(HINSTANCE, const char* templateName, HWND parent, DLGPROC procedure,
                              LPARAM parameter) {
    if (!IS_INTRESOURCE(templateName)) return -1;
    HWND dialog = CreateDialogWindow(static_cast<int>(reinterpret_cast<uintptr_t>(templateName)), parent, procedure);
    if (dialog == nullptr) return -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        activeDialogs_[std::this_thread::get_id()].push_back(dialog);
    }
    if (parent) EnableWindow(parent, FALSE);
    if (Call(dialog, WM_INITDIALOG, 0, parameter)) {
        SetFocus(GetNextDlgTabItem(dialog, nullptr, FALSE));
    }
    // Windows shows a modal dialog that did not show itself once its queue is idle.
    ShowWindow(dialog, SW_SHOW);
    INT_PTR result = RunModal(dialog);
    if (parent) EnableWindow(parent, TRUE);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto& dialogs = activeDialogs_[std::this_thread::get_id()];
        dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
    }
    DestroyWindow(dialog);
    return result;
}

INT_PTR User::RunModal(HWND dialog) {
    INT_PTR result = 0;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            Window* window = Find(dialog);
            if (window == nullptr || window->dialogEnded) {
                result = window ? window->dialogResult : 0;
                break;
            }
        }
        MSG message;
        if (!GetMessageA(&message, nullptr, 0, 0)) {
            PostMessageA(dialog, WM_QUIT, message.wParam, 0);
            break;
        }
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return result;
}

BOOL User::EndDialog(HWND dialog, INT_PTR result) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(dialog);
    if (window == nullptr) return FALSE;
    window->dialogEnded = true;
    window->dialogResult = result;
    window->style &= ~WS_VISIBLE;
    wake_.notify_all();
    return TRUE;
}

int User::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    MessageBoxRecord record{owner, text ? text : "", caption ? caption : "", type};
    std::function<int(const MessageBoxRecord&)> handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messageBoxes_.push_back(record);
        handler = messageBoxHandler_;
        wake_.notify_all();
    }
    if (!handler) return (type & 0xF) == MB_YESNO ? static_cast<int>(IDYES) : static_cast<int>(IDOK);
    int answer = handler(record);
    return answer != 0 ? answer : static_cast<int>(RunMessageBoxWindow(record.caption));
}

// A box left up is a top-level dialog titled with its caption; a button command ends it.
INT_PTR User::RunMessageBoxWindow(const std::string& caption) {
    HWND box;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window window;
        window.className = "#32770";
        window.text = caption;
        window.style = WS_POPUP | WS_VISIBLE;
        window.rect = RECT{300, 300, 600, 420};
        window.procedure = &DialogProcedure;
        window.dialogProcedure = &MessageBoxProcedure;
        window.thread = std::this_thread::get_id();
        window.processId = CurrentProcessId();
        box = CreateWindowRecord(window);
        wake_.notify_all();
    }
    INT_PTR answer = RunModal(box);
    DestroyWindow(box);
    return answer;
}

INT_PTR KAPI User::MessageBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    Machine::Current().user.EndDialog(box, LOWORD(wParam));
    return TRUE;
}

// --- Painting and resources ---

BOOL User::InvalidateRect(HWND handle, const RECT*, BOOL erase) {
    std::lock_guard<std::mutex> lock(mutex_);
    Window* window = Find(handle);
    if (window == nullptr) return FALSE;
    window->needsPaint = true;
    window->eraseOnPaint = window->eraseOnPaint || erase;
    wake_.notify_all();
    return TRUE;
}

BOOL User::UpdateWindow(HWND handle) {
    bool needsPaint;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        needsPaint = window && window->needsPaint;
    }
    if (needsPaint) Call(handle, WM_PAINT, 0, 0);
    return TRUE;
}

// A DC drawing on the window's surface bitmap; several may exist at once.
HDC User::WindowDC(HWND handle) {
    Gdi& gdi = machine_.gdi;
    RECT client{};
    GetClientRect(handle, &client);
    HBITMAP surface;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return nullptr;
        surface = window->surface;
    }
    BITMAP size{};
    if (surface == nullptr || gdi.GetObjectA(surface, sizeof(size), &size) == 0 || size.bmWidth != client.right ||
        size.bmHeight != client.bottom) {
        if (surface) gdi.DeleteObject(surface);
        surface = gdi.CreateCompatibleBitmap(nullptr, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
        std::lock_guard<std::mutex> lock(mutex_);
        if (Window* window = Find(handle)) window->surface = surface;
    }
    return gdi.CreateSurfaceDC(surface);
}

HDC User::BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    bool erase;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Window* window = Find(handle);
        if (window == nullptr) return nullptr;
        window->needsPaint = false;
        erase = window->eraseOnPaint;
        window->eraseOnPaint = false;
    }
    std::memset(paint, 0, sizeof(*paint));
    paint->hdc = WindowDC(handle);
    GetClientRect(handle, &paint->rcPaint);
    if (erase && paint->hdc) paint->fErase = !Call(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0);
    return paint->hdc;
}

BOOL User::EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint->hdc) machine_.gdi.DeleteDC(paint->hdc);
    return TRUE;
}

HDC User::GetDC(HWND handle) { return WindowDC(handle); }

int User::ReleaseDC(HWND, HDC dc) {
    if (dc) machine_.gdi.DeleteDC(dc);
    return 1;
}

HICON User::LoadIconA(HINSTANCE, const char* name) {
    return IS_INTRESOURCE(name) && reinterpret_cast<uintptr_t>(name) == 128 ? kApplicationIcon : nullptr;
}

BOOL User::DrawIcon(HDC, int, int, HICON icon) { return icon != nullptr; }

HANDLE User::LoadImageA(HINSTANCE, const char* name, UINT type, int, int, UINT) {
    if (type != IMAGE_BITMAP || !IS_INTRESOURCE(name)) return nullptr;
    int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
    int width, height;
    std::vector<DWORD> pixels;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = bitmapOverrides_.find(id);
        if (it != bitmapOverrides_.end()) {
            width = it->second.first.first;
            height = it->second.first.second;
            pixels = it->second.second;
        } else {
            const resources::BitmapResource* bitmap = resources::FindBitmapResource(id);
            if (bitmap == nullptr) return nullptr;
            width = bitmap->width;
            height = bitmap->height;
            // A plain picture in a colour of its own per resource, never the black key colour.
            DWORD colour = 0x00404040u + static_cast<DWORD>(id % 64) * 0x00020301u;
            pixels.assign(static_cast<size_t>(width) * height, colour);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as resource bitmaps are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = machine_.gdi.CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits && pixels.size() == static_cast<size_t>(width) * height) {
        DWORD* rows = static_cast<DWORD*>(bits);
        for (int y = 0; y < height; ++y) {
            std::memcpy(rows + static_cast<size_t>(height - 1 - y) * width, pixels.data() + static_cast<size_t>(y) * width,
                        width * sizeof(DWORD));
        }
    }
    return bitmap;
}

int User::GetSystemMetrics(int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    const RECT& desktop = Find(desktop_)->rect;
    switch (index) {
    case SM_CXSCREEN: return desktop.right;
    case SM_CYSCREEN: return desktop.bottom;
    case SM_CXICON:
    case SM_CYICON: return 32;
    default: return 0;
    }
}

std::vector<RECT> User::Monitors() const {
    return monitors_.empty() ? std::vector<RECT>{Find(desktop_)->rect} : monitors_;
}

// The monitor that the rectangle overlaps most; none when it overlaps none.
HMONITOR User::MonitorFromRect(const RECT* rect, DWORD) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<RECT> monitors = Monitors();
    HMONITOR best = nullptr;
    long long bestArea = 0;
    for (size_t index = 0; index < monitors.size(); ++index) {
        const RECT& monitor = monitors[index];
        const long long width = std::min(rect->right, monitor.right) - std::max(rect->left, monitor.left);
        const long long height = std::min(rect->bottom, monitor.bottom) - std::max(rect->top, monitor.top);
        if (width > 0 && height > 0 && width * height > bestArea) {
            bestArea = width * height;
            best = reinterpret_cast<HMONITOR>(index + 1);
        }
    }
    return best;
}

BOOL User::GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<RECT> monitors = Monitors();
    const size_t index = reinterpret_cast<uintptr_t>(monitor) - 1;
    if (index >= monitors.size() || info->cbSize < sizeof(MONITORINFO)) return FALSE;
    info->rcMonitor = monitors[index];
    info->rcWork = monitors[index];
    info->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

DWORD User::GetSysColor(int index) {
    switch (index) {
    case COLOR_BTNFACE: return RGB(240, 240, 240);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    default: return RGB(255, 255, 255);
    }
}

}  // namespace sim
