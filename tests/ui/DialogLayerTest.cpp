// The dialog layer on the simulated window manager: modal dialogs from the
// templates, message dispatch and reflection, subclassed controls, the pump.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Platform.h"
#include "sim/MachineTest.h"
#include "resources/ResourceIds.h"
#include "ui/Dialog.h"
#include "ui/ToolTip.h"

namespace {

using namespace win;

constexpr UINT kPing = WM_USER + 7;

class RecordingControl : public ui::Control {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing) return 42;
        if (message == WM_TIMER) ++timerTicks;
        return Default(message, wParam, lParam);
    }
    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++reflectedClicks;
        return false;
    }
    std::atomic<int> reflectedClicks{0};
    std::atomic<int> timerTicks{0};
};

class TestDialog : public ui::Dialog {
public:
    TestDialog() : ui::Dialog(resources::IDD_MAIN, nullptr) {}

    void DoDataExchange() override {
        Bind(resources::IDC_BOOST, button);
        Bind(resources::IDC_PROGRESS, progress);
    }
    BOOL OnInitDialog() override {
        ui::Dialog::OnInitDialog();
        initialised = true;
        return TRUE;
    }
    bool OnCommand(WORD id, WORD code) override {
        if (id == resources::IDC_BOOST && code == BN_CLICKED) {
            ++clicks;
            return true;
        }
        return false;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == kPing) {
            // Messages sent from other threads are handled here, on the dialog's thread.
            onDialogThread = std::this_thread::get_id() == dialogThread;
            result = static_cast<LRESULT>(wParam) + 1;
            return true;
        }
        if (message == WM_USER + 8) {
            // A nested pump, as the optimisation run's waits do, still dispatches messages.
            while (!stopPumping) ui::PumpMessage();
            return true;
        }
        return false;
    }

    RecordingControl button;
    ui::ProgressBar progress;
    std::atomic<bool> initialised{false};
    std::atomic<int> clicks{0};
    std::atomic<bool> onDialogThread{false};
    std::atomic<bool> stopPumping{false};
    std::thread::id dialogThread;
};

class DialogLayerTest : public sim::MachineTest {
protected:
    void Run() {
        ui = std::thread([this] {
            dialog.dialogThread = std::this_thread::get_id();
            result = dialog.DoModal();
        });
        window = machine.user.WaitForWindow("");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (ui.joinable()) {
            machine.user.PressKey(window, VK_ESCAPE);
            ui.join();
        }
    }

    TestDialog dialog;
    std::thread ui;
    HWND window = nullptr;
    std::atomic<INT_PTR> result{0};
};

TEST_F(DialogLayerTest, BuildsTheTemplateAndBindsItsControls) {
    Run();
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(dialog.Handle(), window);
    EXPECT_EQ(dialog.button.Handle(), machine.user.GetDlgItem(window, resources::IDC_BOOST));
    EXPECT_EQ(machine.user.ClassName(dialog.progress.Handle()), "msctls_progress32");
    EXPECT_EQ(machine.user.Children(window).size(), 12u);
    // The hidden OK and Cancel buttons exist but are not shown.
    EXPECT_FALSE(machine.user.IsWindowVisible(machine.user.GetDlgItem(window, IDOK)));
}

TEST_F(DialogLayerTest, ClicksReachTheControlFirstAndThenTheDialog) {
    Run();
    machine.user.Click(dialog.button.Handle());
    machine.user.Click(dialog.button.Handle());
    for (int wait = 0; wait < 200 && dialog.clicks < 2; ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(dialog.clicks.load(), 2);
    EXPECT_EQ(dialog.button.reflectedClicks.load(), 2);
}

TEST_F(DialogLayerTest, SentMessagesRunOnTheDialogThreadAndReturnTheirResult) {
    Run();
    EXPECT_EQ(machine.user.SendMessageA(window, kPing, 41, 0), 42);
    EXPECT_TRUE(dialog.onDialogThread);
    EXPECT_EQ(machine.user.SendMessageA(dialog.button.Handle(), kPing, 0, 0), 42);
}

TEST_F(DialogLayerTest, EscapeEndsTheDialogWithCancel) {
    Run();
    machine.user.PressKey(dialog.button.Handle(), VK_ESCAPE);
    ui.join();
    EXPECT_EQ(result.load(), static_cast<INT_PTR>(IDCANCEL));
    EXPECT_FALSE(machine.user.IsWindow(window));
    EXPECT_EQ(dialog.button.Handle(), nullptr);
}

TEST_F(DialogLayerTest, ANestedPumpKeepsDispatchingClicksAndTimers) {
    Run();
    machine.user.PostMessageA(window, WM_USER + 8, 0, 0);
    machine.user.RunOnWindowThread(window, [&] { platform::User().SetTimer(dialog.button.Handle(), 0, 10, nullptr); });
    machine.user.Click(dialog.button.Handle());
    for (int wait = 0; wait < 200 && (dialog.clicks < 1 || dialog.button.timerTicks < 3); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(dialog.clicks.load(), 1);
    EXPECT_GE(dialog.button.timerTicks.load(), 3);
    dialog.stopPumping = true;
}

TEST_F(DialogLayerTest, ProgressBarKeepsRangeStepAndPosition) {
    Run();
    machine.user.RunOnWindowThread(window, [&] {
        dialog.progress.SetRange(0, 100);
        dialog.progress.SetStep(1);
        dialog.progress.SetPos(19);
        dialog.progress.StepIt();
    });
    EXPECT_EQ(machine.user.SendMessageA(dialog.progress.Handle(), PBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(machine.user.SendMessageA(dialog.progress.Handle(), PBM_SETPOS, 150, 0), 20);
    EXPECT_EQ(machine.user.SendMessageA(dialog.progress.Handle(), PBM_GETPOS, 0, 0), 100);
}

TEST_F(DialogLayerTest, AToolTipOfTheDialogHoldsItsControlsTextAndGoesWithIt) {
    Run();
    ui::ToolTip tip;
    bool added = false;
    machine.user.RunOnWindowThread(window, [&] {
        added = tip.Create(window) && tip.AddTool(dialog.button.Handle(), "도움말");
    });
    ASSERT_TRUE(added);
    EXPECT_FALSE(machine.user.IsWindowVisible(tip.Handle()));
    EXPECT_EQ(machine.user.ToolTipText(dialog.button.Handle()), "도움말");
    EXPECT_EQ(machine.user.ToolTipText(dialog.progress.Handle()), "");
    machine.user.PressKey(window, VK_ESCAPE);
    ui.join();
    EXPECT_FALSE(machine.user.IsWindow(tip.Handle()));
}

TEST(SimWindows, SendingToAWindowThatGoesAwayReturnsZero) {
    sim::Machine machine;
    HWND window = machine.user.CreateTopLevelWindow("Test", "target", 1, true);
    std::thread sender([&] { EXPECT_EQ(machine.user.SendMessageA(window, kPing, 0, 0), 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    machine.user.DestroyWindow(window);
    sender.join();
}

TEST(SimWindows, MessageBoxesAreRecordedAndAnswered) {
    sim::Machine machine;
    EXPECT_EQ(platform::User().MessageBoxA(nullptr, "q", "c", MB_YESNO), static_cast<int>(IDYES));
    machine.user.SetMessageBoxHandler([](const sim::MessageBoxRecord&) { return static_cast<int>(IDNO); });
    EXPECT_EQ(platform::User().MessageBoxA(nullptr, "q2", "c", MB_YESNO), static_cast<int>(IDNO));
    ASSERT_EQ(machine.user.MessageBoxes().size(), 2u);
    EXPECT_EQ(machine.user.MessageBoxes()[1].text, "q2");
}

}  // namespace
