// A child process for the Wine tests of process control: one top-level window
// (class and title "kestrava child") and a message loop that idles until the
// process is killed.
//   kestrava_child [hidden] [threads N]
//     hidden      creates the window without showing it
//     threads N   starts N more threads that sleep forever
#include <cstdlib>
#include <cstring>

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

}  // namespace

int main(int argc, char** argv) {
    bool hidden = false;
    int threads = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "hidden") == 0) {
            hidden = true;
        } else if (std::strcmp(argv[i], "threads") == 0 && i + 1 < argc) {
            threads = std::atoi(argv[++i]);
        }
    }

    for (int i = 0; i < threads; ++i) {
        HANDLE thread = CreateThread(nullptr, 0, &SleepForever, nullptr, 0, nullptr);
        if (thread) CloseHandle(thread);
    }

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
