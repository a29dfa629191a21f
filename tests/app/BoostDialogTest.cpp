#include "app/BoostDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "sim/MachineTest.h"
#include "resources/ResourceIds.h"
#include "skin/SkinBitmaps.h"

namespace {
using namespace win;
using namespace resources;

constexpr const char* kTitle = "Kestrava가 적용 되었습니다...";
constexpr uint64_t kMiB = 1048576;

struct Placement {
    RECT taskbar;
    POINT corner;
};

TEST(PlaceAboveTaskbar, ClearsBottomAndRightTaskbarsOnly) {
    const Placement cases[] = {
        {{0, 738, 1024, 768}, {703, 366}},  // bottom, 30 pixels
        {{964, 0, 1024, 768}, {643, 396}},  // right, 60 pixels
        {{0, 0, 1024, 30}, {703, 396}},     // top
        {{0, 0, 60, 768}, {703, 396}},      // left
    };
    for (const Placement& c : cases) {
        sim::Machine machine;
        machine.user.SetDesktopSize(1024, 768);
        machine.user.AddTaskbar(c.taskbar);
        int x = 0;
        int y = 0;
        ASSERT_TRUE(PlaceAboveTaskbar(316, 367, x, y));
        EXPECT_EQ(x, c.corner.x) << c.taskbar.left << "," << c.taskbar.top;
        EXPECT_EQ(y, c.corner.y) << c.taskbar.left << "," << c.taskbar.top;
    }
    sim::Machine machine;
    machine.user.SetDesktopSize(1024, 768);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(PlaceAboveTaskbar(316, 367, x, y));
    EXPECT_EQ(x, 703);
    EXPECT_EQ(y, 396);
}

class BoostDialogTest : public sim::MachineTest {
protected:
    BoostDialogTest() {
        machine.user.SetDesktopSize(1024, 768);
        machine.user.AddTaskbar(RECT{0, 738, 1024, 768});
        machine.memory.SetStatus(512 * kMiB, kMiB + 1, 50);
        LoadSkinBitmaps();
        baseline = machine.gdi.LiveObjects();
    }
    void TearDown() override {
        if (ui.joinable()) {
            machine.user.PressKey(window, VK_ESCAPE);
            ui.join();
        }
        FreeSkinBitmaps();
        MachineTest::TearDown();
    }

    void Run() {
        ui = std::thread([this] {
            BoostDialog dialog(nullptr);
            dialog.SetPacketSize(1472);
            dialog.SetProcessCount(12);
            dialog.SetSparedProgram(sparedProgram);
            if (watch) dialog.SetBoostWatch(watch);
            result = dialog.DoModal();
        });
        window = machine.user.WaitForWindow(kTitle);
        ASSERT_NE(window, nullptr);
        machine.user.RunOnWindowThread(window, [] {});  // the initialisation has finished
    }

    INT_PTR Finish() {
        ui.join();
        EXPECT_FALSE(machine.user.IsWindow(window));
        EXPECT_EQ(machine.gdi.LiveObjects(), baseline) << "bitmaps, masks or frames left behind";
        EXPECT_EQ(machine.gdi.LiveDcs(), 0u);
        return result;
    }

    RECT ScreenRect(HWND control) {
        RECT rect{};
        machine.user.GetWindowRect(control, &rect);
        return rect;
    }

    // Repaints the window on its thread and returns what its surface shows.
    std::vector<sim::TextRecord> PaintedTexts() {
        std::vector<sim::TextRecord> texts;
        machine.user.RunOnWindowThread(window, [&] {
            machine.user.InvalidateRect(window, nullptr, TRUE);
            machine.user.UpdateWindow(window);
            HDC dc = machine.user.GetDC(window);
            texts = machine.gdi.Texts(dc);
            background = {machine.gdi.GetPixel(dc, 0, 0), machine.gdi.GetPixel(dc, 100, 340)};
            machine.user.ReleaseDC(window, dc);
        });
        return texts;
    }

    size_t baseline = 0;
    std::thread ui;
    HWND window = nullptr;
    std::atomic<INT_PTR> result{0};
    std::pair<COLORREF, COLORREF> background;
    std::function<void()> watch;
    std::string sparedProgram;
};

TEST_F(BoostDialogTest, SitsAboveTheTaskbarWithItsButtonsInPlace) {
    Run();
    RECT rect = ScreenRect(window);
    EXPECT_EQ(rect.left, 703);
    EXPECT_EQ(rect.top, 366);
    EXPECT_EQ(rect.right - rect.left, 316);
    EXPECT_EQ(rect.bottom - rect.top, 367);

    RECT close = ScreenRect(machine.user.GetDlgItem(window, IDC_CLOSE));
    EXPECT_EQ(close.left - rect.left, 246);
    EXPECT_EQ(close.top - rect.top, 1);
    EXPECT_EQ(close.right - close.left, 43);
    EXPECT_EQ(close.bottom - close.top, 16);
    RECT main = ScreenRect(machine.user.GetDlgItem(window, IDC_MAIN_BUTTON));
    EXPECT_EQ(main.right - main.left, 64);
    EXPECT_EQ(main.bottom - main.top, 64);
    EXPECT_EQ(machine.user.Style(machine.user.GetDlgItem(window, IDC_MAIN_BUTTON)) & BS_TYPEMASK, BS_OWNERDRAW);

    EXPECT_EQ(machine.user.Region(window), nullptr);  // no mask picture in the resources
    auto timers = machine.user.Timers(machine.user.GetDlgItem(window, IDC_INDICATOR));
    ASSERT_EQ(timers.count(0), 1u);
    EXPECT_EQ(timers[0], 100u);
}

// The boost's watch runs as the window opens, which covers the time since the rules ran,
// and then on the window's half-second timer.
TEST_F(BoostDialogTest, RunsTheBoostWatchAtOnceAndOnItsTimer) {
    std::atomic<int> checks{0};
    watch = [&] { ++checks; };
    Run();
    EXPECT_EQ(checks, 1);
    auto timers = machine.user.Timers(window);
    ASSERT_EQ(timers.count(1), 1u);
    EXPECT_EQ(timers[1], 500u);
    machine.user.RunOnWindowThread(window, [&] { machine.user.SendMessageA(window, WM_TIMER, 1, 0); });
    EXPECT_EQ(checks, 2);
}

TEST_F(BoostDialogTest, AMaskPictureWouldShapeTheWindow) {
    std::vector<DWORD> mask(316 * 367, 0x00808080);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) mask[y * 316 + x] = 0;
    }
    machine.user.SetBitmapResource(IDB_REGION_MASK, 316, 367, mask);
    Run();
    std::vector<RECT> rects = machine.gdi.RegionRects(machine.user.Region(window));
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].left, 10);
    EXPECT_EQ(rects[0].bottom, 10);
    EXPECT_EQ(rects[1].top, 10);
    EXPECT_EQ(rects[1].bottom, 367);
    machine.user.PressKey(window, VK_ESCAPE);
    Finish();  // the mask picture was freed; the region went with the window
}

TEST_F(BoostDialogTest, PaintsTheTitleAndTheResultLines) {
    Run();
    std::vector<sim::TextRecord> texts = PaintedTexts();
    HGDIOBJ dialogFont = machine.gdi.GetStockObject(DEFAULT_GUI_FONT);  // the simulated dialog font
    auto find = [&](const std::string& text) -> const sim::TextRecord* {
        for (const sim::TextRecord& record : texts) {
            if (record.text == text) return &record;
        }
        ADD_FAILURE() << "not painted: " << text;
        return nullptr;
    };
    struct Expected {
        const char* text;
        POINT origin;
        COLORREF colour;
    };
    // Anchors 1011 to 1013 at (27, 170), (27, 190), (27, 210) and the icon at (11, 146) dialog units.
    const Expected lines[] = {
        {kTitle, {15, 10}, RGB(255, 255, 255)},
        {"인터넷 : 1472 로 최적화", {40, 255}, RGB(0, 0, 0)},
        {"메모리 : 2MB 사용가능", {40, 285}, RGB(0, 0, 0)},
        {"프로세스 : 12 개 최적화", {40, 315}, RGB(0, 0, 0)},
        {"Kestrava가 실행 중 입니다.", {36, 220}, RGB(0, 0, 0)},
    };
    for (const Expected& line : lines) {
        const sim::TextRecord* record = find(line.text);
        if (record == nullptr) continue;
        EXPECT_EQ(record->origin.x, line.origin.x) << line.text;
        EXPECT_EQ(record->origin.y, line.origin.y) << line.text;
        EXPECT_EQ(record->colour, line.colour) << line.text;
        EXPECT_TRUE(record->transparent) << line.text;
        EXPECT_EQ(record->font, dialogFont) << line.text;
    }
    EXPECT_EQ(texts.size(), 5u);  // a repaint replaces the old texts
    EXPECT_EQ(background.first, RGB(112, 112, 112));
    EXPECT_EQ(background.second, RGB(245, 245, 245));
}

// Beneath the process line; a long name is cut after whole characters.
TEST_F(BoostDialogTest, NamesTheSparedGameBeneathTheProcessLine) {
    sparedProgram = "가나다라마바사아자차카타파하거너더러머버.exe";
    Run();
    std::vector<sim::TextRecord> texts = PaintedTexts();
    ASSERT_EQ(texts.size(), 6u);
    auto line = std::find_if(texts.begin(), texts.end(),
                             [](const sim::TextRecord& text) { return text.text.rfind("게임 : ", 0) == 0; });
    ASSERT_NE(line, texts.end());
    EXPECT_EQ(line->text, "게임 : 가나다라마바사아자차카타파하거너... 제외");
    EXPECT_EQ(line->origin.x, 40);
    EXPECT_EQ(line->origin.y, 345);
}

TEST_F(BoostDialogTest, UnreadableMemoryShowsZero) {
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatusEx");
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatus");
    Run();
    bool found = false;
    for (const sim::TextRecord& record : PaintedTexts()) found = found || record.text == "메모리 : 0MB 사용가능";
    EXPECT_TRUE(found);
}

TEST_F(BoostDialogTest, TheTopThirtyPixelsDragTheWindow) {
    Run();
    auto hit = [&](int y) {
        return machine.user.SendMessageA(window, WM_NCHITTEST, 0, static_cast<LPARAM>(MAKELONG(800, y)));
    };
    EXPECT_EQ(hit(366), HTCAPTION);
    EXPECT_EQ(hit(366 + 29), HTCAPTION);
    EXPECT_NE(hit(366 + 30), HTCAPTION);
}

TEST_F(BoostDialogTest, EnterDoesNothingAndEscapeCancels) {
    Run();
    machine.user.PressKey(window, 0x0D);
    EXPECT_FALSE(machine.user.WaitUntilGone(window, 200));
    machine.user.PressKey(window, VK_ESCAPE);
    EXPECT_EQ(Finish(), static_cast<INT_PTR>(IDCANCEL));
}

TEST_F(BoostDialogTest, MainButtonCancels) {
    Run();
    machine.user.Click(machine.user.GetDlgItem(window, IDC_MAIN_BUTTON));
    EXPECT_EQ(Finish(), static_cast<INT_PTR>(IDCANCEL));
}

TEST_F(BoostDialogTest, CloseButtonCancels) {
    Run();
    machine.user.Click(machine.user.GetDlgItem(window, IDC_CLOSE));
    EXPECT_EQ(Finish(), static_cast<INT_PTR>(IDCANCEL));
}

}  // namespace
