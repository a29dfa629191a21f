// A child process for the Wine tests of process control: one top-level window
// (class and title "kestrava child") and a message loop that idles until the
// process is killed.
//   kestrava_child [hidden] [fullscreen] [title TEXT] [threads N] [spin N] [launch FLAG_FILE PROGRAM [ARGUMENT...]]
//   kestrava_child work THREADS SECONDS RESULT_FILE
//   kestrava_child play THREADS SECONDS RESULT_FILE FLAG_FILE
//   kestrava_child windowless
//     hidden      creates the window without showing it
//     fullscreen  a borderless window over the whole screen, as a game's
//     title       the window's title instead of "kestrava child"
//     threads N   starts N more threads that sleep forever
//     spin N      starts N more threads that keep a processor busy
//     launch      a stand-in launcher: once FLAG_FILE exists, starts PROGRAM with the
//                 arguments, as the launcher's own child (checked every 100 ms)
//     work        a stand-in game without a window: after one second of loading, THREADS
//                 busy threads count their rounds for SECONDS; the total goes to RESULT_FILE
//     play        a stand-in game being played, with a borderless window over the screen
//                 titled "kestrava game": THREADS busy threads count their rounds for SECONDS,
//                 then again from a second after FLAG_FILE appears; both totals go to
//                 RESULT_FILE and the program ends
//     windowless  a background program without a window that waits until it is killed
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

DWORD WINAPI SleepForever(void*) {
    for (;;) Sleep(INFINITE);
}

volatile LONG stopWork = 0;

DWORD WINAPI Spin(void* counter) {
    auto* rounds = static_cast<volatile unsigned long long*>(counter);
    while (!stopWork) {
        for (int i = 0; i < 1000; ++i) ++*rounds;
    }
    return 0;
}

void StartThreads(int count, LPTHREAD_START_ROUTINE routine, void* parameter = nullptr) {
    for (int i = 0; i < count; ++i) {
        HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
        if (thread) CloseHandle(thread);
    }
}

// Busy threads that count their rounds, each on a cache line of its own.
class BusyThreads {
public:
    explicit BusyThreads(int threads) : counters_(threads > 0 ? threads : 1) {
        for (Counter& counter : counters_) {
            HANDLE thread = CreateThread(nullptr, 0, &Spin, &counter.rounds, 0, nullptr);
            if (thread) running_.push_back(thread);
        }
    }
    ~BusyThreads() {
        stopWork = 1;
        WaitForMultipleObjects(static_cast<DWORD>(running_.size()), running_.data(), TRUE, INFINITE);
        for (HANDLE thread : running_) CloseHandle(thread);
    }
    // The rounds all threads count in the given seconds.
    unsigned long long RoundsOver(int seconds) const {
        const unsigned long long start = Total();
        Sleep(static_cast<DWORD>(seconds) * 1000);
        return Total() - start;
    }

private:
    struct alignas(64) Counter {
        unsigned long long rounds = 0;
    };
    unsigned long long Total() const {
        unsigned long long total = 0;
        for (const Counter& counter : counters_) total += *static_cast<const volatile unsigned long long*>(&counter.rounds);
        return total;
    }
    std::vector<Counter> counters_;
    std::vector<HANDLE> running_;
};

bool WriteResult(const char* resultFile, const std::string& line) {
    FILE* file = std::fopen(resultFile, "w");
    if (file == nullptr) return false;
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
    return true;
}

int Work(int threads, int seconds, const char* resultFile) {
    Sleep(1000);
    unsigned long long rounds = BusyThreads(threads).RoundsOver(seconds);
    return WriteResult(resultFile, std::to_string(rounds)) ? 0 : 1;
}

struct Play {
    int threads;
    int seconds;
    std::string resultFile;
    std::string flagFile;
    DWORD windowThread;
};

// A game being played: its rounds before the flag file appears and after, then the end.
DWORD WINAPI MeasurePlay(void* context) {
    const Play& play = *static_cast<const Play*>(context);
    unsigned long long before = 0;
    unsigned long long during = 0;
    {
        BusyThreads busy(play.threads);
        Sleep(1000);
        before = busy.RoundsOver(play.seconds);
        while (GetFileAttributesA(play.flagFile.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(100);
        Sleep(1000);
        during = busy.RoundsOver(play.seconds);
    }
    WriteResult(play.resultFile.c_str(), std::to_string(before) + " " + std::to_string(during));
    PostThreadMessageA(play.windowThread, WM_QUIT, 0, 0);
    return 0;
}

std::string launchFlag;
std::string launchCommand;

void CALLBACK LaunchWhenFlagged(HWND, UINT, UINT_PTR timer, DWORD) {
    if (GetFileAttributesA(launchFlag.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    KillTimer(nullptr, timer);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, &launchCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "work") == 0) return Work(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    if (argc == 2 && std::strcmp(argv[1], "windowless") == 0) {
        for (;;) Sleep(INFINITE);
    }

    bool hidden = false;
    bool fullScreen = false;
    std::string title = "kestrava child";
    const bool playing = argc == 6 && std::strcmp(argv[1], "play") == 0;
    static Play play{};
    if (playing) {
        play = Play{std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argv[5], GetCurrentThreadId()};
        fullScreen = true;
        title = "kestrava game";
        argc = 1;
    }
    int threads = 0;
    int spinning = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "hidden") == 0) {
            hidden = true;
        } else if (std::strcmp(argv[i], "fullscreen") == 0) {
            fullScreen = true;
        } else if (std::strcmp(argv[i], "title") == 0 && i + 1 < argc) {
            title = argv[++i];
        } else if (std::strcmp(argv[i], "threads") == 0 && i + 1 < argc) {
            threads = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "spin") == 0 && i + 1 < argc) {
            spinning = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "launch") == 0 && i + 2 < argc) {
            launchFlag = argv[++i];
            launchCommand = std::string("\"") + argv[++i] + "\"";
            while (++i < argc) launchCommand += std::string(" ") + argv[i];
        }
    }

    StartThreads(threads, &SleepForever);
    static unsigned long long spun = 0;
    StartThreads(spinning, &Spin, &spun);
    if (!launchCommand.empty()) SetTimer(nullptr, 0, 100, &LaunchWhenFlagged);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "kestrava child";
    RegisterClassA(&windowClass);
    HWND window = fullScreen ? CreateWindowExA(0, "kestrava child", title.c_str(), WS_POPUP, 0, 0,
                                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                               nullptr, windowClass.hInstance, nullptr)
                             : CreateWindowExA(0, "kestrava child", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                               120, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;
    if (!hidden) ShowWindow(window, SW_SHOWNORMAL);
    if (playing) StartThreads(1, &MeasurePlay, &play);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
