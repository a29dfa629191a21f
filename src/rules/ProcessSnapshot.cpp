#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "rules/AnsiText.h"
#include "rules/ProcessSnapshot.h"

bool WalkProcessSnapshot(const std::function<void(const win::PROCESSENTRY32&)>& visit) {
    platform::IProcesses& processes = platform::Processes();
    const platform::ScopedHandle snapshot(processes.CreateToolhelp32Snapshot(win::TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    win::PROCESSENTRY32 entry{};
    // 296 bytes in the 32-bit program; the 64-bit system wants its own larger layout.
    entry.dwSize = sizeof(entry);
    for (win::BOOL more = processes.Process32First(snapshot.Get(), &entry); more;
         more = processes.Process32Next(snapshot.Get(), &entry)) {
        visit(entry);
    }
    return true;
}

std::string ExecutableText(const win::PROCESSENTRY32& entry) {
    return std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof(entry.szExeFile)));
}

std::string ProcessName(const win::PROCESSENTRY32& entry) {
    std::string text = ExecutableText(entry);
    size_t slash = text.rfind('\\');
    return AnsiLower(slash == std::string::npos ? text : text.substr(slash + 1));
}
