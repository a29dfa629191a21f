#include <gtest/gtest.h>

#include <string>

#include "app/DrainexLauncher.h"
#include "app/ReleaseProgress.h"
#include "app/Sha256.h"
#include "drainex/DrainexRun.h"
#include "drainex/ReleaseReceiver.h"
#include "sim/MachineTest.h"

namespace {

constexpr uint64_t kMiB = 1048576;

// Longer than one read of the launcher, so the digest spans several reads.
std::string HelperImage() {
    std::string image;
    for (int i = 0; image.size() < 40000; ++i) image += "MZ Drainex " + std::to_string(i) + "\n";
    return image;
}

Sha256Digest DigestOf(const std::string& bytes) {
    Sha256 hash;
    hash.Update(bytes.data(), bytes.size());
    return hash.Finish();
}

class DrainexLauncherTest : public sim::MachineTest {
protected:
    // The helper's file in the folder; its digest is what the launches below expect.
    void PlaceHelper(const std::string& folder, const std::string& image = HelperImage()) {
        if (!folder.empty()) machine.files.AddDirectory(folder);
        machine.files.WriteFile(folder + "\\Drainex.exe", image);
    }
    DrainexLaunch Launch(const std::string& folder, win::HWND window) {
        return LaunchDrainex(folder, 2, window, DigestOf(HelperImage()));
    }
    void ExpectRefused(bool foreign) {
        const DrainexLaunch launch = Launch("C:\\Kestrava", receiver.window);
        EXPECT_EQ(launch.process, nullptr);
        EXPECT_EQ(launch.foreign, foreign);
    }
    void InstallHelper() {
        machine.programs.Install("Drainex.exe", [this](const sim::Launch& launch) {
            launches.push_back(launch);
            return static_cast<win::DWORD>(RunDrainex(launch.arguments.c_str()));
        });
    }
    // The main dialog's wait: pump until the end message or the helper's end, then close the handle.
    void WaitForRelease(win::HANDLE process) {
        win::MSG message;
        while (!receiver.Ended() && machine.programs.WaitForSingleObject(process, 0) != win::WAIT_OBJECT_0) {
            if (machine.user.PeekMessageA(&message, nullptr, 0, 0, win::PM_REMOVE)) {
                machine.user.DispatchMessageA(&message);
            }
            machine.programs.Sleep(1);
        }
        machine.handles.CloseHandle(process);
    }

    ReleaseReceiver receiver{machine};
    std::vector<sim::Launch> launches;
};

TEST_F(DrainexLauncherTest, StartsTheHelperHiddenWithTheFolderQuoted) {
    InstallHelper();
    PlaceHelper("C:\\Program Files\\Kes trava");
    machine.memory.SetStatus(110 * kMiB, 50 * kMiB, 50);
    const DrainexLaunch launch = Launch("C:\\Program Files\\Kes trava", receiver.window);
    EXPECT_FALSE(launch.foreign);
    win::HANDLE process = launch.process;
    ASSERT_NE(process, nullptr);
    WaitForRelease(process);
    machine.programs.JoinAll();

    ASSERT_EQ(launches.size(), 1u);
    const std::string window = std::to_string(reinterpret_cast<intptr_t>(receiver.window));
    EXPECT_EQ(launches[0].commandLine, "\"C:\\Program Files\\Kes trava\\Drainex.exe\" 2 " + window);
    // The full path as the application name too, so nothing is searched for.
    EXPECT_EQ(machine.programs.LaunchedApplications(),
              std::vector<std::string>{"C:\\Program Files\\Kes trava\\Drainex.exe"});
    EXPECT_EQ(launches[0].arguments, "2 " + window);
    EXPECT_EQ(launches[0].showCommand, static_cast<win::UINT>(win::SW_HIDE));
    // The checked file could be neither changed nor deleted until the process had started.
    EXPECT_TRUE(launches[0].imageHeld);
    ASSERT_TRUE(receiver.Ended());
    EXPECT_EQ(receiver.reports[1].value, 20);

    int32_t bar = 0;
    for (win::LPARAM position : receiver.Positions()) {
        int32_t next = ReleaseBarPosition(static_cast<int32_t>(position), 20);
        EXPECT_GE(next, bar);
        bar = next;
    }
    EXPECT_EQ(bar, 96);  // position 19 of 20
}

TEST_F(DrainexLauncherTest, WritesTheWindowAsASignedNumberAndAnEmptyFolderAsRoot) {
    machine.programs.Install("Drainex.exe", [this](const sim::Launch& launch) {
        launches.push_back(launch);
        return 0u;
    });
    PlaceHelper("");
    win::HANDLE process = Launch("", reinterpret_cast<win::HWND>(static_cast<intptr_t>(-16))).process;
    ASSERT_NE(process, nullptr);
    machine.programs.WaitForSingleObject(process, win::INFINITE);
    machine.handles.CloseHandle(process);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].commandLine, "\"\\Drainex.exe\" 2 -16");
    EXPECT_EQ(machine.programs.LaunchedApplications(), std::vector<std::string>{"\\Drainex.exe"});
}

// The installed helper program would run; only the file check can keep it from starting.
TEST_F(DrainexLauncherTest, AMissingOrUnreadableHelperStartsNothingAndIsNotCalledForeign) {
    InstallHelper();
    ExpectRefused(false);
    PlaceHelper("C:\\Kestrava");
    machine.files.DenyAccess("C:\\Kestrava\\Drainex.exe");
    ExpectRefused(false);
    EXPECT_TRUE(machine.programs.Launched().empty());
}

TEST_F(DrainexLauncherTest, AnyOtherFileIsForeignAndNotStarted) {
    InstallHelper();
    std::string changed = HelperImage();
    changed[changed.size() / 2] ^= 1;
    for (const std::string& image : {changed, HelperImage() + "x", HelperImage().substr(1), std::string()}) {
        PlaceHelper("C:\\Kestrava", image);
        ExpectRefused(true);
    }
    EXPECT_TRUE(machine.programs.Launched().empty());
}

TEST_F(DrainexLauncherTest, WaitEndsWhenTheHelperEndsWithoutItsEndMessage) {
    InstallHelper();
    PlaceHelper("C:\\Kestrava");
    win::HANDLE other = machine.sync.CreateMutexA(nullptr, win::TRUE, kDrainexMutexName);
    win::HANDLE process = Launch("C:\\Kestrava", receiver.window).process;
    ASSERT_NE(process, nullptr);
    WaitForRelease(process);
    EXPECT_TRUE(receiver.reports.empty());
    machine.handles.CloseHandle(other);
}

TEST(ReleaseBarPosition, FillsTwentyToOneHundredAndNeverDividesByZero) {
    EXPECT_EQ(ReleaseBarPosition(0, 3896), 20);
    EXPECT_EQ(ReleaseBarPosition(1948, 3896), 60);
    EXPECT_EQ(ReleaseBarPosition(3896, 3896), 100);
    EXPECT_EQ(ReleaseBarPosition(0, 0), 20);
    EXPECT_EQ(ReleaseBarPosition(5, -1), 20);
    EXPECT_EQ(ReleaseBarPosition(2147483647, 1), 100);
    EXPECT_EQ(ReleaseBarPosition(-5, 10), 20);
}

}  // namespace
