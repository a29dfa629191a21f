#include "sim/Shell.h"

#include <algorithm>
#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

BOOL KAPI Shell_NotifyIconAEntry(DWORD message, NOTIFYICONDATAA* data) {
    return Machine::Current().shell.Shell_NotifyIconA(message, data);
}

// A text field read no further than the size the caller gave leaves room for.
std::string Field(const NOTIFYICONDATAA* data, const char* field, size_t capacity) {
    const size_t offset = static_cast<size_t>(field - reinterpret_cast<const char*>(data));
    if (offset >= data->cbSize) return std::string();
    const size_t room = std::min<size_t>(capacity, data->cbSize - offset);
    return std::string(field, strnlen(field, room));
}

constexpr char k9xShellPath[] = "C:\\WINDOWS\\SYSTEM\\shell32.dll";

}  // namespace

// In the system folder of either family (Files adds the NT one's module).
Shell::Shell(Machine& machine) {
    machine.modules.AddModule(k9xShellPath);
    for (const char* path : {"C:\\WINDOWS\\system32\\shell32.dll", k9xShellPath}) {
        machine.modules.Export(path, "Shell_NotifyIconA", ProcCast<FARPROC>(&Shell_NotifyIconAEntry));
    }
}

void Shell::SetTaskbarPresent(bool present) {
    std::lock_guard<std::mutex> lock(mutex_);
    present_ = present;
    if (!present) icons_.clear();
}

bool Shell::FindIcon(HWND window, UINT id, NotifyIcon& icon) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = icons_.find({window, id});
    if (found == icons_.end()) return false;
    icon = found->second;
    return true;
}

size_t Shell::IconCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return icons_.size();
}

// Sizes below the first release's and above the balloon release's are refused, as is an
// icon added twice or changed before it was added.
BOOL Shell::Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) {
    if (data == nullptr || data->cbSize < NOTIFYICONDATAA_V1_SIZE || data->cbSize > sizeof(NOTIFYICONDATAA) ||
        !platform::User().IsWindow(data->hWnd)) {
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (!present_) return FALSE;
    const auto key = std::make_pair(data->hWnd, data->uID);
    const bool exists = icons_.count(key) != 0;
    if (message == NIM_DELETE) return icons_.erase(key) ? TRUE : FALSE;
    if ((message == NIM_ADD) == exists || (message != NIM_ADD && message != NIM_MODIFY)) return FALSE;
    NotifyIcon& icon = icons_[key];
    icon.size = data->cbSize;
    if (data->uFlags & NIF_MESSAGE) icon.callbackMessage = data->uCallbackMessage;
    if (data->uFlags & NIF_ICON) icon.icon = data->hIcon;
    const bool longTip = data->cbSize > NOTIFYICONDATAA_V1_SIZE;
    if (data->uFlags & NIF_TIP) icon.tip = Field(data, data->szTip, longTip ? 128 : 64);
    if (data->uFlags & NIF_INFO) {
        if (!longTip) return FALSE;
        icon.balloon = Field(data, data->szInfo, sizeof data->szInfo);
        icon.balloonTitle = Field(data, data->szInfoTitle, sizeof data->szInfoTitle);
    }
    return TRUE;
}

}  // namespace sim
