#include "app/DrainexLauncher.h"

#include <cstdio>
#include <vector>

#include "app/FileDigest.h"
#include "platform/Platform.h"
#include "platform/ScopedHandle.h"

namespace {

// "\"<folder>\\Drainex.exe\" <mode> <window>"; the folder is quoted so that blanks in it
// do not end the program path.
std::vector<char> CommandLine(const std::string& appFolder, int32_t mode, win::HWND window) {
    const int32_t windowValue = static_cast<int32_t>(reinterpret_cast<intptr_t>(window));
    const char* format = "\"%s\\Drainex.exe\" %d %d";
    const int length = std::snprintf(nullptr, 0, format, appFolder.c_str(), mode, windowValue);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format, appFolder.c_str(), mode, windowValue);
    return text;
}

}  // namespace

DrainexLaunch LaunchDrainex(const std::string& appFolder, int32_t mode, win::HWND window,
                            const Sha256Digest& expected) {
    // Named by its full path as well, so which file runs never rests on how Windows splits
    // the command line.
    const std::string program = appFolder + "\\Drainex.exe";
    // Shared for reading alone: starting the process opens it for reading too.
    const platform::ScopedHandle image(platform::Files().CreateFileA(
        program.c_str(), win::GENERIC_READ, win::FILE_SHARE_READ, nullptr, win::OPEN_EXISTING, win::FILE_ATTRIBUTE_NORMAL,
        nullptr));
    Sha256Digest digest{};
    if (!image || !Sha256OfOpenFile(image.Get(), digest)) return {};
    if (digest != expected) return {nullptr, true};

    std::vector<char> commandLine = CommandLine(appFolder, mode, window);
    win::STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = win::STARTF_USESHOWWINDOW;
    startup.wShowWindow = win::SW_HIDE;
    win::PROCESS_INFORMATION process{};
    if (!platform::Programs().CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, win::FALSE, 0,
                                             nullptr, nullptr, &startup, &process)) {
        return {};
    }
    const platform::ScopedHandle thread(process.hThread);
    return {process.hProcess, false};
}
