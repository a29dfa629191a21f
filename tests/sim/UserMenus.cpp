// The simulated window manager's pop-up menus and registered messages.
#include "sim/User.h"

#include <algorithm>
#include <cctype>

namespace sim {

void User::SetMenuHandler(std::function<UINT_PTR(const std::vector<MenuItem>&)> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    menuHandler_ = std::move(handler);
}

size_t User::MenuCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return menus_.size();
}

// Names are told apart without regard to letter case; the ids are those Windows gives.
UINT User::RegisterWindowMessageA(const char* name) {
    if (name == nullptr || *name == '\0') return 0;
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = registeredMessages_.find(key);
    if (found != registeredMessages_.end()) return found->second;
    const UINT id = 0xC000 + static_cast<UINT>(registeredMessages_.size());
    registeredMessages_[key] = id;
    return id;
}

HMENU User::CreatePopupMenu() {
    std::lock_guard<std::mutex> lock(mutex_);
    HMENU menu = reinterpret_cast<HMENU>(nextHandle_);
    nextHandle_ += 0x10;
    menus_[menu];
    return menu;
}

BOOL User::AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, const char* text) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = menus_.find(menu);
    if (found == menus_.end()) return FALSE;
    found->second.push_back(MenuItem{flags, id, text ? text : ""});
    return TRUE;
}

// The handler plays the user; a grayed item cannot be chosen.
BOOL User::TrackPopupMenu(HMENU menu, UINT, int, int, int, HWND owner, const RECT*) {
    std::vector<MenuItem> items;
    std::function<UINT_PTR(const std::vector<MenuItem>&)> handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = menus_.find(menu);
        if (found == menus_.end() || !Find(owner)) return FALSE;
        items = found->second;
        handler = menuHandler_;
    }
    const UINT_PTR chosen = handler ? handler(items) : 0;
    for (const MenuItem& item : items) {
        if (chosen != 0 && item.id == chosen && !(item.flags & (MF_GRAYED | MF_SEPARATOR))) {
            PostMessageA(owner, WM_COMMAND, chosen, 0);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL User::DestroyMenu(HMENU menu) {
    std::lock_guard<std::mutex> lock(mutex_);
    return menus_.erase(menu) ? TRUE : FALSE;
}

BOOL User::SetForegroundWindow(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(window) ? TRUE : FALSE;
}

}  // namespace sim
