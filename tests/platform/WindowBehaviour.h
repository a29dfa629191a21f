// Window behaviour the hiding of game windows and the message boxes rely on, checked
// against the installed window manager: the simulated one natively and the real one
// under Wine, so both are known to agree. The caller supplies a visible top-level
// window of another process, which the checks leave visible.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"
#include "process/GameWindows.h"

namespace window_behaviour {
using namespace win;

inline HWND NoSuchWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0)); }

// ShowWindow returns whether the window was visible before the call.
inline void ShowAndHideReportThePreviousVisibility(HWND window) {
    auto& user = platform::User();
    ASSERT_TRUE(user.IsWindowVisible(window));
    EXPECT_TRUE(user.ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(user.IsWindowVisible(window));
    EXPECT_FALSE(user.ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(user.IsWindowVisible(window));
    EXPECT_FALSE(user.ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(user.IsWindowVisible(window));
    EXPECT_TRUE(user.ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(user.IsWindowVisible(window));
    EXPECT_TRUE(user.IsWindow(window));

    EXPECT_FALSE(user.IsWindow(NoSuchWindow()));
    EXPECT_FALSE(user.IsWindowVisible(NoSuchWindow()));
    EXPECT_FALSE(user.ShowWindow(NoSuchWindow(), SW_SHOW));
}

struct Listed {
    std::vector<HWND> windows;
    size_t stopAfter = 0;  // 0: never
};

inline BOOL KAPI ListWindow(HWND window, LPARAM context) {
    auto* listed = reinterpret_cast<Listed*>(context);
    listed->windows.push_back(window);
    return listed->stopAfter == 0 || listed->windows.size() < listed->stopAfter;
}

// Every enumerated top-level window has an owning process and thread; the given one
// belongs to the given process. The thread ids are only checked to be there: those of
// the simulated windows are not the simulated processes' threads, and the programs use
// the process id alone. A callback that stops the walk makes EnumWindows fail.
inline void EnumeratedWindowsNameTheirOwners(HWND window, DWORD processId) {
    auto& user = platform::User();
    Listed listed;
    EXPECT_TRUE(user.EnumWindows(&ListWindow, reinterpret_cast<LPARAM>(&listed)));
    ASSERT_GE(listed.windows.size(), 2u);
    EXPECT_NE(std::find(listed.windows.begin(), listed.windows.end(), window), listed.windows.end());
    EXPECT_EQ(std::find(listed.windows.begin(), listed.windows.end(), user.GetDesktopWindow()), listed.windows.end());
    for (HWND listedWindow : listed.windows) {
        DWORD owner = 0;
        EXPECT_NE(user.GetWindowThreadProcessId(listedWindow, &owner), 0u);
        EXPECT_NE(owner, 0u);
    }
    DWORD owner = 0;
    EXPECT_NE(user.GetWindowThreadProcessId(window, &owner), 0u);
    EXPECT_EQ(owner, processId);
    EXPECT_EQ(user.GetWindowThreadProcessId(window, nullptr), user.GetWindowThreadProcessId(window, &owner));

    owner = 5;
    EXPECT_EQ(user.GetWindowThreadProcessId(NoSuchWindow(), &owner), 0u);

    Listed first;
    first.stopAfter = 1;
    EXPECT_FALSE(user.EnumWindows(&ListWindow, reinterpret_cast<LPARAM>(&first)));
    EXPECT_EQ(first.windows.size(), 1u);
}

struct Box {
    const char* caption;
    int answer = 0;
};

inline DWORD KAPI ShowBox(void* context) {
    auto* box = static_cast<Box*>(context);
    box->answer = platform::User().MessageBoxA(nullptr, "Behaviour check", box->caption, MB_OK);
    return 0;
}

// A message box is a top-level dialog ("#32770") titled with its caption, owned by
// the process that shows it, and a button command ends it with that button's id.
inline void MessageBoxesAreDialogsFoundByClass() {
    auto& user = platform::User();
    auto& programs = platform::Programs();
    Box box{"Kestrava behaviour box"};
    HANDLE thread = programs.CreateThread(nullptr, 0, &ShowBox, &box, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    HWND found = nullptr;
    for (int waited = 0; waited < 10000 && found == nullptr; waited += 20) {
        found = user.FindWindowA("#32770", box.caption);
        if (found == nullptr) programs.Sleep(20);
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(user.FindWindowA(nullptr, box.caption), found);
    EXPECT_EQ(user.FindWindowA("#32770", "Kestrava behaviour box that is not up"), nullptr);
    for (int waited = 0; waited < 5000 && !user.IsWindowVisible(found); waited += 20) programs.Sleep(20);
    EXPECT_TRUE(user.IsWindowVisible(found));
    char title[64] = {};
    EXPECT_EQ(user.GetWindowTextA(found, title, sizeof title), static_cast<int>(std::string(box.caption).size()));
    EXPECT_EQ(std::string(title), box.caption);
    DWORD owner = 0;
    EXPECT_NE(user.GetWindowThreadProcessId(found, &owner), 0u);
    EXPECT_EQ(owner, platform::Processes().GetCurrentProcessId());

    EXPECT_TRUE(user.PostMessageA(found, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(programs.WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    platform::Handles().CloseHandle(thread);
    EXPECT_EQ(box.answer, static_cast<int>(IDOK));
    EXPECT_FALSE(user.IsWindow(found));
    EXPECT_EQ(user.FindWindowA("#32770", box.caption), nullptr);
}

inline RECT PrimaryMonitor() {
    const RECT corner{0, 0, 1, 1};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const auto monitorFromRect = platform::imports::MonitorFromRect();
    const auto getMonitorInfo = platform::imports::GetMonitorInfoA();
    EXPECT_NE(monitorFromRect, nullptr);
    EXPECT_NE(getMonitorInfo, nullptr);
    if (monitorFromRect == nullptr || getMonitorInfo == nullptr) return RECT{};
    EXPECT_TRUE(getMonitorInfo(monitorFromRect(&corner, MONITOR_DEFAULTTONULL), &info));
    EXPECT_EQ(info.dwFlags & MONITORINFOF_PRIMARY, MONITORINFOF_PRIMARY);
    EXPECT_EQ(info.rcMonitor.right, platform::User().GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.rcMonitor.bottom, platform::User().GetSystemMetrics(SM_CYSCREEN));
    RECT nowhere{-40000, -40000, -39000, -39000};
    EXPECT_EQ(monitorFromRect(&nowhere, MONITOR_DEFAULTTONULL), nullptr);
    return info.rcMonitor;
}

inline void Place(HWND window, const RECT& rect) {
    EXPECT_TRUE(platform::User().SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                                              rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE));
}

// A borderless window over the primary monitor fills it; a smaller or hidden window does not.
// The window is visible, titled and not owned, of class "kestrava child", and is left visible
// over the monitor.
inline void WindowsOverAWholeMonitorFillIt(HWND window) {
    auto& user = platform::User();
    const RECT monitor = PrimaryMonitor();
    char className[32] = {};
    EXPECT_EQ(user.GetClassNameA(window, className, sizeof className), 14);
    EXPECT_EQ(std::string(className), "kestrava child");
    EXPECT_EQ(user.GetWindow(window, GW_OWNER), nullptr);
    EXPECT_TRUE(IsOrdinaryWindow(window));

    Place(window, monitor);
    EXPECT_TRUE(FillsAMonitor(window));
    Place(window, RECT{monitor.left, monitor.top, monitor.right, monitor.bottom - 40});
    EXPECT_FALSE(FillsAMonitor(window));
    Place(window, monitor);
    user.ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(FillsAMonitor(window));
    EXPECT_FALSE(IsOrdinaryWindow(window));
    user.ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(FillsAMonitor(window));
    EXPECT_FALSE(FillsAMonitor(NoSuchWindow()));
    EXPECT_FALSE(IsOrdinaryWindow(NoSuchWindow()));
}

// A minimized window over the primary monitor still fills it by its restored placement. The
// window is visible and of this process: Wine reports another process's minimized rectangle as
// its restored placement, where Windows reports the restored one.
inline void MinimizedWindowsFillAMonitorByTheirPlacement(HWND window) {
    auto& user = platform::User();
    const RECT monitor = PrimaryMonitor();
    Place(window, monitor);
    user.ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(user.IsIconic(window));
    RECT minimized{};
    EXPECT_TRUE(user.GetWindowRect(window, &minimized));
    EXPECT_LT(minimized.right - minimized.left, monitor.right - monitor.left);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(user.GetWindowPlacement(window, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, monitor.right - monitor.left);
    EXPECT_TRUE(FillsAMonitor(window));
    user.ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(user.IsIconic(window));
    EXPECT_TRUE(FillsAMonitor(window));
    Place(window, RECT{0, 0, 200, 100});
    user.ShowWindow(window, SW_MINIMIZE);
    EXPECT_FALSE(FillsAMonitor(window));
}

// Tool windows, owned windows and untitled ones are not ordinary; a window brought to the
// top enumerates first, and the ordinary window of another process beneath it is found.
// The first four windows are this process's, visible; the last one another process's.
inline void OrdinaryWindowsAndTheZOrder(HWND ordinary, HWND tool, HWND owned, HWND untitled, HWND foreign) {
    auto& user = platform::User();
    EXPECT_TRUE(IsOrdinaryWindow(ordinary));
    EXPECT_FALSE(IsOrdinaryWindow(tool));
    EXPECT_EQ(user.GetWindow(owned, GW_OWNER), ordinary);
    EXPECT_FALSE(IsOrdinaryWindow(owned));
    EXPECT_FALSE(IsOrdinaryWindow(untitled));
    EXPECT_TRUE(IsOrdinaryWindow(foreign));

    const UINT raise = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    auto first = [&] {
        Listed listed;
        user.EnumWindows(&ListWindow, reinterpret_cast<LPARAM>(&listed));
        auto a = std::find(listed.windows.begin(), listed.windows.end(), ordinary);
        auto b = std::find(listed.windows.begin(), listed.windows.end(), untitled);
        return a < b ? ordinary : untitled;
    };
    EXPECT_TRUE(user.SetWindowPos(untitled, HWND_TOP, 0, 0, 0, 0, raise));
    EXPECT_EQ(first(), untitled);
    EXPECT_TRUE(user.SetWindowPos(foreign, HWND_TOP, 0, 0, 0, 0, raise));
    EXPECT_TRUE(user.SetWindowPos(ordinary, HWND_TOP, 0, 0, 0, 0, raise));
    EXPECT_EQ(first(), ordinary);
    EXPECT_EQ(OrdinaryWindowBeneath(ordinary), foreign);
}

}  // namespace window_behaviour
