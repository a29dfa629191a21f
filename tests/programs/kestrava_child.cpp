// A child process for the Wine tests of process control: one top-level window
// (class and title "kestrava child") and a message loop that idles until the
// process is killed.
//   kestrava_child [hidden] [threads N] [spin N] [launch FLAG_FILE PROGRAM [ARGUMENT...]]
//   kestrava_child work THREADS SECONDS RESULT_FILE
//   kestrava_child windowless
//     hidden      creates the window without showing it
//     threads N   starts N more threads that sleep forever
//     spin N      starts N more threads that keep a processor busy
//     launch      a stand-in launcher: once FLAG_FILE exists, starts PROGRAM with the
//                 arguments, as the launcher's own child (checked every 100 ms)
//     work        a stand-in game without a window: after one second of loading, THREADS
//                 busy threads count their rounds for SECONDS; the total goes to RESULT_FILE
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

int Work(int threads, int seconds, const char* resultFile) {
    Sleep(1000);
    struct alignas(64) Counter {
        unsigned long long rounds = 0;
    };
    std::vector<Counter> counters(threads > 0 ? threads : 1);
    std::vector<HANDLE> running;
    for (Counter& counter : counters) {
        HANDLE thread = CreateThread(nullptr, 0, &Spin, &counter.rounds, 0, nullptr);
        if (thread) running.push_back(thread);
    }
    Sleep(static_cast<DWORD>(seconds) * 1000);
    stopWork = 1;
    WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), TRUE, INFINITE);
    unsigned long long total = 0;
    for (const Counter& counter : counters) total += counter.rounds;
    for (HANDLE thread : running) CloseHandle(thread);
    FILE* file = std::fopen(resultFile, "w");
    if (file == nullptr) return 1;
    std::fprintf(file, "%llu\n", total);
    std::fclose(file);
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
    int threads = 0;
    int spinning = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "hidden") == 0) {
            hidden = true;
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
    HWND window = CreateWindowExA(0, "kestrava child", "kestrava child", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;
    if (!hidden) ShowWindow(window, SW_SHOWNORMAL);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
