#include "app/TrayIcon.h"

#include <cstring>

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"
#include "platform/WindowsFamily.h"
#include "resources/ResourceIds.h"

using namespace win;

namespace {

constexpr UINT kIconId = 1;
const char kTaskbarCreated[] = "TaskbarCreated";

// Copies as much of text as fits with its terminator, never half of a double-byte character.
void CopyText(char* field, size_t capacity, const std::string& text) {
    size_t length = 0;
    while (length < text.size()) {
        const size_t step = static_cast<unsigned char>(text[length]) >= 0x81 ? 2 : 1;
        if (length + step > capacity - 1 || length + step > text.size()) break;
        length += step;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// Where the system has a message filter (Vista onwards), an elevated program gets no message
// from the lower-integrity shell unless it lets it through: per window from Windows 7, for the
// whole process on Vista.
void LetThrough(HWND window, UINT message) {
    if (auto allowForWindow = platform::imports::ChangeWindowMessageFilterEx()) {
        allowForWindow(window, message, MSGFLT_ALLOW, nullptr);
    } else if (auto allowForProcess = platform::imports::ChangeWindowMessageFilter()) {
        allowForProcess(message, MSGFLT_ADD);
    }
}

bool Notify(DWORD message, NOTIFYICONDATAA& data) {
    auto notify = platform::imports::Shell_NotifyIconA();
    return notify && notify(message, &data);
}

}  // namespace

NOTIFYICONDATAA TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAA data{};
    data.cbSize = platform::ShellHasBalloons() ? sizeof(NOTIFYICONDATAA) : NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

bool TrayIcon::Add(HWND owner, HICON icon, const std::string& tip) {
    Remove();
    platform::IUser& user = platform::User();
    taskbarCreated_ = user.RegisterWindowMessageA(kTaskbarCreated);
    LetThrough(owner, kCallbackMessage);
    if (taskbarCreated_ != 0) LetThrough(owner, taskbarCreated_);
    owner_ = owner;
    icon_ = icon;
    tip_ = tip;
    NOTIFYICONDATAA data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_;
    CopyText(data.szTip, data.cbSize > NOTIFYICONDATAA_V1_SIZE ? sizeof data.szTip : 64, tip_);
    if (Notify(NIM_ADD, data)) return true;
    owner_ = nullptr;
    return false;
}

void TrayIcon::AddAgain() {
    if (owner_ == nullptr) return;
    const HWND owner = owner_;
    owner_ = nullptr;  // the restarted shell holds no icon to remove
    Add(owner, icon_, tip_);
}

void TrayIcon::SetTip(const std::string& tip) {
    tip_ = tip;
    if (owner_ == nullptr) return;
    NOTIFYICONDATAA data = Data(NIF_TIP);
    CopyText(data.szTip, data.cbSize > NOTIFYICONDATAA_V1_SIZE ? sizeof data.szTip : 64, tip_);
    Notify(NIM_MODIFY, data);
}

void TrayIcon::ShowBalloon(const std::string& text) {
    if (owner_ == nullptr || !platform::ShellHasBalloons()) return;
    NOTIFYICONDATAA data = Data(NIF_INFO);
    CopyText(data.szInfo, sizeof data.szInfo, text);
    CopyText(data.szInfoTitle, sizeof data.szInfoTitle, "Kestrava");
    data.uTimeout = 10000;
    data.dwInfoFlags = NIIF_INFO;
    Notify(NIM_MODIFY, data);
}

void TrayIcon::Remove() {
    if (owner_ == nullptr) return;
    NOTIFYICONDATAA data = Data(0);
    Notify(NIM_DELETE, data);
    owner_ = nullptr;
}

// The owner comes to the foreground first and gets a message after, or the menu would not
// close when the player clicks elsewhere.
void ShowTrayMenu(HWND owner, bool boostApplied) {
    platform::IUser& user = platform::User();
    HMENU menu = user.CreatePopupMenu();
    if (menu == nullptr) return;
    user.AppendMenuA(menu, MF_STRING, resources::IDM_OPEN, "열기");
    user.AppendMenuA(menu, MF_STRING | (boostApplied ? MF_GRAYED : 0), resources::IDM_APPLY_NOW, "지금 적용");
    user.AppendMenuA(menu, MF_STRING | (boostApplied ? 0 : MF_GRAYED), resources::IDM_UNDO, "되돌리기");
    user.AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    user.AppendMenuA(menu, MF_STRING, resources::IDM_EXIT, "종료");
    POINT at{};
    user.GetCursorPos(&at);
    user.SetForegroundWindow(owner);
    user.TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, owner, nullptr);
    user.PostMessageA(owner, WM_NULL, 0, 0);
    user.DestroyMenu(menu);
}
