// The notification icon's calls on the real shell32 and user32: the icon added, changed and
// removed, the message filter, and the icon's menu.
#include <gtest/gtest.h>

#include <cstring>

#include "app/TrayIcon.h"
#include "platform/RuntimeImports.h"
#include "platform/win32/Win32.h"

namespace {

class TrayIconWine : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", "Kestrava tray test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    // NIM_MODIFY succeeds only while the shell holds the icon.
    bool ShellHoldsIcon(DWORD size) {
        win::NOTIFYICONDATAA data{};
        data.cbSize = size;
        data.hWnd = window;
        data.uID = 1;
        data.uFlags = win::NIF_TIP;
        std::strcpy(data.szTip, "Kestrava");
        return platform::imports::Shell_NotifyIconA()(win::NIM_MODIFY, &data) != FALSE;
    }

    HWND window = nullptr;
};

TEST_F(TrayIconWine, TheShellTakesTheIconItsTipAndBalloonAndForgetsItWhenRemoved) {
    ASSERT_NE(platform::imports::Shell_NotifyIconA(), nullptr);
    TrayIcon tray;
    ASSERT_TRUE(tray.Add(window, LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), "Kestrava: 게임을 기다리는 중"));
    EXPECT_TRUE(tray.IsTaskbarCreated(RegisterWindowMessageA("TaskbarCreated")));
    tray.SetTip("Kestrava: 부스트 적용 중 - game.exe");
    tray.ShowBalloon("부스트를 적용했습니다: game.exe");
    EXPECT_TRUE(ShellHoldsIcon(sizeof(win::NOTIFYICONDATAA)));
    EXPECT_TRUE(ShellHoldsIcon(win::NOTIFYICONDATAA_V1_SIZE));  // the size 95, 98 and NT 4 take
    tray.Remove();
    EXPECT_FALSE(ShellHoldsIcon(sizeof(win::NOTIFYICONDATAA)));
}

TEST_F(TrayIconWine, TheMessageFilterLetsTheShellsMessagesThrough) {
    // Wine reports Windows 7 or later, which filters per window.
    auto allow = platform::imports::ChangeWindowMessageFilterEx();
    ASSERT_NE(allow, nullptr);
    EXPECT_TRUE(allow(window, TrayIcon::kCallbackMessage, MSGFLT_ALLOW, nullptr));
    EXPECT_NE(platform::imports::ChangeWindowMessageFilter(), nullptr);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST_F(TrayIconWine, TheMenuOpensAndClosesWithoutACommand) {
    SetTimer(window, 1, 300, &CloseMenu);
    ShowTrayMenu(window, false);
    KillTimer(window, 1);
    MSG message{};
    bool command = false;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) command = command || message.message == WM_COMMAND;
    EXPECT_FALSE(command);
}

}  // namespace
