// The real helper programs, reporting across processes to a window of this test.
// Runs that go through the release passes use drainex_small.exe (Drainex on a
// machine of 110 MiB); Drainex.exe itself is only run where it must send nothing,
// against a window that is not pumped, so that a wrong start would block in its
// first send (before anything is claimed) instead of claiming the test machine.
#include <gtest/gtest.h>

#include <cstdio>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/DrainexLauncher.h"
#include "app/Sha256.h"
#include "drainex/DrainexRun.h"
#include "drainex/MemoryStatus.h"
#include "drainex/ReleaseMessages.h"
#include "platform/win32/Win32.h"

namespace {

constexpr DWORD kTimeLimitMs = 20000;

// A window of the test's own thread that records the release messages.
class ReleaseWindow {
public:
    ReleaseWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KestravaReleaseTest";
        RegisterClassA(&windowClass);
        hwnd = CreateWindowExA(0, "KestravaReleaseTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ReleaseWindow() { DestroyWindow(hwnd); }

    std::string Number() const { return std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd))); }
    bool Ended() const { return !reports.empty() && reports.back().first == WM_RELEASE_END; }

    // Pumps as the main dialog waits: until the end message or the helper's end.
    bool WaitForRelease(HANDLE process) {
        const DWORD start = GetTickCount();
        while (!Ended() && WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
            if (GetTickCount() - start > kTimeLimitMs) return false;
            MSG message;
            if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(1);
        }
        return true;
    }

    std::vector<std::pair<UINT, LPARAM>> reports;
    std::function<void(UINT)> onMessage;
    HWND hwnd = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ReleaseWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self == nullptr || message < WM_RELEASE_RANGE || message > WM_RELEASE_END) {
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
        self->reports.emplace_back(message, lParam);
        if (self->onMessage) self->onMessage(message);
        return 0;
    }
};

std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

Sha256Digest DigestOfFile(const std::string& path) {
    Sha256 hash;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t read;
        while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) hash.Update(buffer, read);
        std::fclose(file);
    }
    return hash.Finish();
}

// A fresh application folder whose path holds blanks, with drainex_small.exe as its Drainex.exe.
class SmallHelperFolder {
public:
    SmallHelperFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "Kes trava " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path.c_str(), nullptr);
        copied = CopyFileA((BuildFolder() + "\\drainex_small.exe").c_str(), (path + "\\Drainex.exe").c_str(), FALSE);
        digest = DigestOfFile(path + "\\Drainex.exe");
    }
    ~SmallHelperFolder() {
        DeleteFileA((path + "\\Drainex.exe").c_str());
        RemoveDirectoryA(path.c_str());
    }
    std::string path;
    BOOL copied;
    Sha256Digest digest;  // of its Drainex.exe
};

// Runs a program without pumping messages; true when it ended in time, with its exit code.
bool RunUnpumped(const std::string& program, const std::string& arguments, DWORD& exitCode) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    const bool ended = WaitForSingleObject(process.hProcess, kTimeLimitMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

std::vector<std::pair<UINT, LPARAM>> SmallMachineReports() {
    std::vector<std::pair<UINT, LPARAM>> expected{{WM_RELEASE_BEGIN, 0}, {WM_RELEASE_RANGE, 20}};
    for (LPARAM position = 0; position < 20; ++position) expected.emplace_back(WM_RELEASE_PROGRESS, position);
    expected.emplace_back(WM_RELEASE_END, 0);
    return expected;
}

TEST(DrainexWine, LaunchedFromAFolderWithBlanksItReportsInOrderAndExitsZero) {
    SmallHelperFolder folder;
    ASSERT_TRUE(folder.copied);
    ReleaseWindow window;
    HANDLE process = LaunchDrainex(folder.path, 2, window.hwnd, folder.digest).process;
    ASSERT_NE(process, nullptr);
    ASSERT_TRUE(window.WaitForRelease(process));
    WaitForSingleObject(process, kTimeLimitMs);
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);

    EXPECT_EQ(window.reports, SmallMachineReports());
    EXPECT_EQ(exitCode, 0u);
}

TEST(DrainexWine, SecondInstanceDuringTheFirstOnesPassesExitsSilently) {
    SmallHelperFolder folder;
    ASSERT_TRUE(folder.copied);
    ReleaseWindow window;
    bool secondEnded = false;
    DWORD secondExit = 1;
    window.onMessage = [&](UINT message) {
        if (message != WM_RELEASE_PROGRESS || window.reports.size() != 3) return;
        // The first instance waits in its send while the real Drainex.exe starts.
        secondEnded = RunUnpumped(BuildFolder() + "\\Drainex.exe", "2 " + window.Number(), secondExit);
    };
    HANDLE process = LaunchDrainex(folder.path, 2, window.hwnd, folder.digest).process;
    ASSERT_NE(process, nullptr);
    ASSERT_TRUE(window.WaitForRelease(process));
    CloseHandle(process);

    EXPECT_TRUE(secondEnded);
    EXPECT_EQ(secondExit, 0u);
    EXPECT_EQ(window.reports, SmallMachineReports());
}

TEST(DrainexWine, RealHelperSendsNothingForAnOverlongTextOrWhileAnotherInstanceRuns) {
    ReleaseWindow window;
    const std::string drainex = BuildFolder() + "\\Drainex.exe";
    DWORD exitCode = 1;
    EXPECT_TRUE(RunUnpumped(drainex, "2 " + std::string(100, '0') + window.Number(), exitCode));
    EXPECT_EQ(exitCode, 0u);

    HANDLE other = CreateMutexA(nullptr, TRUE, kDrainexMutexName);
    ASSERT_NE(other, nullptr);
    exitCode = 1;
    EXPECT_TRUE(RunUnpumped(drainex, "2 " + window.Number(), exitCode));
    EXPECT_EQ(exitCode, 0u);
    ReleaseMutex(other);
    CloseHandle(other);

    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    EXPECT_TRUE(window.reports.empty());
}

TEST(DrainexWine, WaitEndsWhenTheHelperIsMissingOrEndsWithoutItsEndMessage) {
    ReleaseWindow window;
    EXPECT_EQ(LaunchDrainex(BuildFolder() + "\\no such folder", 2, window.hwnd, Sha256Digest{}).process, nullptr);

    SmallHelperFolder folder;
    ASSERT_TRUE(folder.copied);
    HANDLE other = CreateMutexA(nullptr, TRUE, kDrainexMutexName);
    HANDLE process = LaunchDrainex(folder.path, 2, window.hwnd, folder.digest).process;
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(window.WaitForRelease(process));
    CloseHandle(process);
    ReleaseMutex(other);
    CloseHandle(other);
    EXPECT_TRUE(window.reports.empty());
}

// The real Drainex.exe of the build folder is not the helper expected here, so it is not
// started (were it started, window 0 would end it at once).
TEST(DrainexWine, AHelperOfAnotherDigestIsNotStarted) {
    SmallHelperFolder folder;
    ASSERT_TRUE(folder.copied);
    const DrainexLaunch launch = LaunchDrainex(BuildFolder(), 2, nullptr, folder.digest);
    EXPECT_TRUE(launch.foreign);
    EXPECT_EQ(launch.process, nullptr);
    if (launch.process) CloseHandle(launch.process);
}

// The figures follow the system's own. Their plausibility is checked only where the system's
// figures are plausible: under qemu a 32-bit process gets the host's figures cut to 32 bits
// (total below available, load above 100), which no program could put right.
TEST(DrainexWine, MemoryStatusOfTheRealSystem) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    int32_t total = 0, available = 0, freePercent = -1;
    EXPECT_EQ(QueryMemoryStatus(total, available, freePercent), total);
    EXPECT_EQ(static_cast<uint64_t>(total), (status.ullTotalPhys + 1048575) / 1048576);
    EXPECT_NEAR(available, static_cast<double>((status.ullAvailPhys + 1048575) / 1048576), 256.0);
    EXPECT_NEAR(freePercent, 100 - static_cast<int32_t>(status.dwMemoryLoad), 5);
    EXPECT_GE(available, 1);

    const bool systemFiguresPlausible = status.ullAvailPhys <= status.ullTotalPhys && status.dwMemoryLoad <= 100;
    if (!systemFiguresPlausible) {
        std::printf("note: the system reports %llu of %llu bytes available at load %lu; range checks left out\n",
                    static_cast<unsigned long long>(status.ullAvailPhys),
                    static_cast<unsigned long long>(status.ullTotalPhys),
                    static_cast<unsigned long>(status.dwMemoryLoad));
        return;
    }
    EXPECT_GE(total, available);
    EXPECT_GE(freePercent, 0);
    EXPECT_LE(freePercent, 100);
}

}  // namespace
