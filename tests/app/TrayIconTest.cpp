// The notification icon on the simulated shell.
#include <gtest/gtest.h>

#include "app/TrayIcon.h"
#include "platform/Platform.h"
#include "resources/ResourceIds.h"
#include "sim/MachineTest.h"

namespace {

using namespace win;

class TrayIconTest : public sim::MachineTest {
protected:
    void SetUp() override { owner = machine.user.CreateTopLevelWindow("Owner", "Kestrava", 1, false); }
    sim::NotifyIcon Shown() {
        sim::NotifyIcon icon;
        EXPECT_TRUE(machine.shell.FindIcon(owner, 1, icon));
        return icon;
    }

    HWND owner = nullptr;
    HICON picture = reinterpret_cast<HICON>(0x1230);
};

TEST_F(TrayIconTest, BalloonWhereTheShellHasOne) {
    {
        TrayIcon tray;
        ASSERT_TRUE(tray.Add(owner, picture, "Kestrava: 게임을 기다리는 중"));
        EXPECT_EQ(Shown().tip, "Kestrava: 게임을 기다리는 중");
        EXPECT_EQ(Shown().callbackMessage, TrayIcon::kCallbackMessage);
        EXPECT_EQ(Shown().icon, picture);
        tray.ShowBalloon("부스트를 적용했습니다: game.exe");
        EXPECT_EQ(Shown().balloon, "부스트를 적용했습니다: game.exe");
    }
    EXPECT_EQ(machine.shell.IconCount(), 0u);  // removed with its object
}

// RtlGetVersion is looked up once a run: the machine is 98 from the start.
TEST_F(TrayIconTest, TheTipAloneOn98) {
    machine.systemInfo.UseWindows9x();
    TrayIcon tray;
    const std::string longTip = "Kestrava: " + std::string(60, 'x');
    ASSERT_TRUE(tray.Add(owner, picture, longTip));
    EXPECT_EQ(Shown().size, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(Shown().tip, longTip.substr(0, 63));
    tray.ShowBalloon("부스트를 적용했습니다: game.exe");
    EXPECT_EQ(Shown().balloon, "");
}

TEST_F(TrayIconTest, TipsAreCutBetweenCharactersAndTheIconReturnsWithTheShell) {
    TrayIcon tray;
    ASSERT_TRUE(tray.Add(owner, picture, "Kestrava"));
    // 126 single bytes and a double-byte character: the character does not fit in 127.
    tray.SetTip(std::string(126, 'a') + "게");
    EXPECT_EQ(Shown().tip, std::string(126, 'a'));

    machine.shell.SetTaskbarPresent(false);
    machine.shell.SetTaskbarPresent(true);
    const UINT taskbarCreated = platform::User().RegisterWindowMessageA("TaskbarCreated");
    ASSERT_TRUE(tray.IsTaskbarCreated(taskbarCreated));
    EXPECT_FALSE(tray.IsTaskbarCreated(WM_USER));
    tray.AddAgain();
    EXPECT_EQ(Shown().tip, std::string(126, 'a'));
}

TEST_F(TrayIconTest, TheMenuOffersWhatTheBoostAllows) {
    std::vector<std::vector<sim::MenuItem>> menus;
    machine.user.SetMenuHandler([&](const std::vector<sim::MenuItem>& items) {
        menus.push_back(items);
        return resources::IDM_UNDO;
    });
    auto grayed = [](const sim::MenuItem& item) { return (item.flags & MF_GRAYED) != 0; };
    ShowTrayMenu(owner, false);
    ShowTrayMenu(owner, true);
    ASSERT_EQ(menus.size(), 2u);
    ASSERT_EQ(menus[0].size(), 5u);
    EXPECT_EQ(menus[0][0].text, "열기");
    EXPECT_EQ(menus[0][1].text, "지금 적용");
    EXPECT_EQ(menus[0][2].text, "되돌리기");
    EXPECT_EQ(menus[0][4].text, "종료");
    EXPECT_FALSE(grayed(menus[0][1]));
    EXPECT_TRUE(grayed(menus[0][2]));
    EXPECT_TRUE(grayed(menus[1][1]));
    EXPECT_FALSE(grayed(menus[1][2]));
    EXPECT_EQ(machine.user.MenuCount(), 0u);
    // Only the second menu's 되돌리기 could be chosen.
    MSG message{};
    int commands = 0;
    while (platform::User().PeekMessageA(&message, owner, 0, 0, PM_REMOVE)) {
        if (message.message == WM_COMMAND) {
            EXPECT_EQ(message.wParam, static_cast<WPARAM>(resources::IDM_UNDO));
            ++commands;
        }
    }
    EXPECT_EQ(commands, 1);
}

}  // namespace
