// Vornel's icon in the notification area: its tip, the balloon that reports a boost,
// its menu, and its return when the shell restarts.
#pragma once

#include <string>

#include "platform/UserTypes.h"

class TrayIcon {
public:
    // The message the icon's mouse events reach the owner with (lParam: the mouse message).
    static constexpr win::UINT kCallbackMessage = win::WM_USER + 210;

    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon for owner with the tip and lets the shell's messages through the
    // message filter of an elevated program; false when the shell refused it.
    bool Add(win::HWND owner, win::HICON icon, const std::string& tip);
    void SetTip(const std::string& tip);
    // A balloon, where the shell has them (not on 95, 98 and NT 4); the tip says it there.
    void ShowBalloon(const std::string& text);
    void Remove();
    bool Added() const { return owner_ != nullptr; }
    // The shell's "TaskbarCreated": a restarted shell has forgotten the icon, so it is added again.
    bool IsTaskbarCreated(win::UINT message) const { return message != 0 && message == taskbarCreated_; }
    void AddAgain();

private:
    win::NOTIFYICONDATAA Data(win::UINT flags) const;

    win::HWND owner_ = nullptr;
    win::HICON icon_ = nullptr;
    std::string tip_;
    win::UINT taskbarCreated_ = 0;
};

// The icon's menu at the pointer: 열기, 지금 적용, 되돌리기 and 종료, their commands posted to owner.
void ShowTrayMenu(win::HWND owner, bool boostApplied);
