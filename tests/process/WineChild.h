// A running kestrava_child.exe for the Wine tests, with its window; killed when the
// test ends.
#pragma once

#include <string>

#include "platform/win32/Win32.h"

namespace wine_child {

// The folder of the running test program.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

class Child {
public:
    // Starts the child program (by default the one beside the test) and waits for its window
    // and its message loop.
    explicit Child(const std::string& arguments = "",
                   const std::string& path = ProgramFolder() + "\\kestrava_child.exe") {
        std::string commandLine = "\"" + path + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info_)) {
            return;
        }
        WaitForInputIdle(info_.hProcess, 10000);
        for (int waited = 0; waited < 10000 && window_ == nullptr; waited += 50) {
            Search search{info_.dwProcessId, nullptr};
            EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&search));
            window_ = search.found;
            if (window_ == nullptr) Sleep(50);
        }
        // The window is found as soon as it is created; it is shown before the message
        // loop starts, so it is ready once the loop answers.
        for (int tries = 0; window_ != nullptr && tries < 20 && !Responds(); ++tries) Sleep(50);
    }
    ~Child() {
        if (info_.hProcess == nullptr) return;
        ::TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Ready() const { return window_ != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    DWORD MainThreadId() const { return info_.dwThreadId; }
    HANDLE Process() const { return info_.hProcess; }
    HWND Window() const { return window_; }
    // Whether the child's message loop answers within half a second.
    bool Responds() const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
    }
    DWORD_PTR Affinity() const {
        DWORD_PTR process = 0, system = 0;
        GetProcessAffinityMask(info_.hProcess, &process, &system);
        return process;
    }
    // The main thread's suspend count, left as it was.
    DWORD SuspendCount() const {
        DWORD previous = SuspendThread(info_.hThread);
        ResumeThread(info_.hThread);
        return previous;
    }

private:
    struct Search {
        DWORD processId;
        HWND found;
    };
    static BOOL CALLBACK FindWindowOf(HWND window, LPARAM context) {
        auto* search = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        char className[64] = {};
        GetWindowThreadProcessId(window, &owner);
        GetClassNameA(window, className, sizeof className);
        if (owner == search->processId && std::string(className) == "kestrava child") {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

}  // namespace wine_child
