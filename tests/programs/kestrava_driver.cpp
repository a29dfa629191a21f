// Drives Kestrava's windows like a user, for the end-to-end runs under Wine.
//   kestrava_driver wait TITLE [TIMEOUT_MS]      waits for a visible top-level window; prints its rectangle
//   kestrava_driver click TITLE CONTROL_ID        clicks a button of that window
//   kestrava_driver check TITLE CONTROL_ID        prints 1 when the check box is checked, else 0
//   kestrava_driver progress TITLE CONTROL_ID     prints the progress bar position
//   kestrava_driver answer TEXT_PART BUTTON_ID [TIMEOUT_MS]  answers a message box whose text holds TEXT_PART
//   kestrava_driver caption TEXT_PART [TIMEOUT_MS]  prints the caption of such a message box
//   kestrava_driver boxtext TEXT_PART [TIMEOUT_MS]  prints the whole text of such a message box
//   kestrava_driver hover TITLE CONTROL_ID        moves the pointer onto the middle of a control
//   kestrava_driver gone TITLE [TIMEOUT_MS]       waits until no visible window has that title
//   kestrava_driver text TITLE CONTROL_ID         prints the text of a control
//   kestrava_driver command TITLE COMMAND_ID      posts a menu command to that window, shown or hidden
//   kestrava_driver watch TITLE CONTROL_ID UNTIL_TITLE [TIMEOUT_MS]
//                                                 prints each new progress bar position until a
//                                                 window titled UNTIL_TITLE appears
// Exit code 0 on success, 1 on failure or time-out.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Platform.h"

namespace {

using namespace win;

constexpr UINT PBM_GETPOS_MESSAGE = WM_USER + 8;

HWND FindVisible(const char* title) {
    HWND window = platform::User().FindWindowA(nullptr, title);
    return window && platform::User().IsWindowVisible(window) ? window : nullptr;
}

HWND WaitFor(const char* title, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND window = FindVisible(title)) return window;
        platform::Programs().Sleep(50);
    }
    return nullptr;
}

struct BoxSearch {
    const char* textPart;
    HWND found;
};

// The text of a message box's static; empty for any other window.
std::string BoxText(HWND window) {
    for (int id : {0xFFFF, 100}) {  // the text control of Windows and of Wine
        HWND text = platform::User().GetDlgItem(window, id);
        if (text == nullptr) continue;
        char buffer[1024] = {0};
        platform::User().GetWindowTextA(text, buffer, sizeof buffer);
        if (buffer[0] != '\0') return buffer;
    }
    return std::string();
}

// A message box: a top-level "#32770" window with a static whose text holds the part.
BOOL KAPI FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    if (!platform::User().IsWindowVisible(window)) return TRUE;
    if (BoxText(window).find(search->textPart) != std::string::npos) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForBox(const char* textPart, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        BoxSearch search{textPart, nullptr};
        platform::User().EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        platform::Programs().Sleep(50);
    }
    return nullptr;
}

using SetCursorPosProc = BOOL(KAPI*)(int x, int y);

// Moves the pointer as the mouse would, so that the control hears of it (its tooltip shows).
bool MovePointerTo(HWND control) {
    auto setCursorPos = ProcCast<SetCursorPosProc>(
        platform::Modules().GetProcAddress(platform::Modules().GetModuleHandleA("user32.dll"), "SetCursorPos"));
    RECT rect{};
    if (setCursorPos == nullptr || !platform::User().GetWindowRect(control, &rect)) return false;
    int x = (rect.left + rect.right) / 2;
    int y = (rect.top + rect.bottom) / 2;
    setCursorPos(x - 2, y);
    platform::Programs().Sleep(100);
    return setCursorPos(x, y) != FALSE;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrava_driver wait|click|check|progress|answer|caption|boxtext|gone|text|hover|watch ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    std::string command = argv[1];
    platform::IUser& user = platform::User();
    if (command == "wait") {
        HWND window = WaitFor(argv[2], argc > 3 ? std::atoi(argv[3]) : 30000);
        if (window == nullptr) return 1;
        RECT rect{};
        user.GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
                    static_cast<long>(rect.right - rect.left), static_cast<long>(rect.bottom - rect.top));
        return 0;
    }
    if (command == "gone") {
        int timeoutMs = argc > 3 ? std::atoi(argv[3]) : 30000;
        for (int waited = 0; waited <= timeoutMs; waited += 50) {
            if (FindVisible(argv[2]) == nullptr) return 0;
            platform::Programs().Sleep(50);
        }
        return 1;
    }
    if (command == "answer") {
        if (argc < 4) return Usage();
        HWND box = WaitForBox(argv[2], argc > 4 ? std::atoi(argv[4]) : 30000);
        if (box == nullptr) return 1;
        user.PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[3])), 0);
        return 0;
    }
    if (command == "caption") {
        HWND box = WaitForBox(argv[2], argc > 3 ? std::atoi(argv[3]) : 30000);
        if (box == nullptr) return 1;
        char caption[256] = {0};
        user.GetWindowTextA(box, caption, sizeof caption);
        std::printf("%s\n", caption);
        return 0;
    }
    if (command == "boxtext") {
        HWND box = WaitForBox(argv[2], argc > 3 ? std::atoi(argv[3]) : 30000);
        if (box == nullptr) return 1;
        std::printf("%s\n", BoxText(box).c_str());
        return 0;
    }
    if (command == "watch") {
        if (argc < 5) return Usage();
        HWND window = WaitFor(argv[2], 10000);
        HWND bar = window ? user.GetDlgItem(window, std::atoi(argv[3])) : nullptr;
        if (bar == nullptr) return 1;
        int timeoutMs = argc > 5 ? std::atoi(argv[5]) : 120000;
        int last = -1;
        for (int waited = 0; waited <= timeoutMs; waited += 2) {
            int position = static_cast<int>(user.SendMessageA(bar, PBM_GETPOS_MESSAGE, 0, 0));
            if (position != last) {
                std::printf("%d\n", position);
                std::fflush(stdout);
                last = position;
            }
            if (FindVisible(argv[4])) return 0;
            platform::Programs().Sleep(2);
        }
        return 1;
    }
    if (argc < 4) return Usage();
    if (command == "command") {
        HWND window = user.FindWindowA(nullptr, argv[2]);
        return window && user.PostMessageA(window, WM_COMMAND, std::atoi(argv[3]), 0) ? 0 : 1;
    }
    HWND window = WaitFor(argv[2], 10000);
    HWND control = window ? user.GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    if (command == "click") {
        user.PostMessageA(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "check") {
        std::printf("%d\n", static_cast<int>(user.SendMessageA(control, BM_GETCHECK, 0, 0)));
        return 0;
    }
    if (command == "text") {
        char text[512] = {0};
        user.GetWindowTextA(control, text, sizeof text);
        std::printf("%s\n", text);
        return 0;
    }
    if (command == "hover") return MovePointerTo(control) ? 0 : 1;
    if (command == "progress") {
        std::printf("%d\n", static_cast<int>(user.SendMessageA(control, PBM_GETPOS_MESSAGE, 0, 0)));
        return 0;
    }
    return Usage();
}
