#include "rules/DebugLog.h"

#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "platform/ScopedStream.h"
#include "platform/WindowsFamily.h"
#include "registry/AdminSecurity.h"

namespace {

constexpr const char* kLogPath = "c:\\debuglog.txt";

// The entry as the C runtime's text mode writes it: every line feed after a carriage return.
std::string AsTextLines(const std::string& entry) {
    std::string text;
    for (char c : entry + "\n") {
        if (c == '\n') text += '\r';
        text += c;
    }
    return text;
}

// On the NT family the log is opened for appending without following a reparse point, and
// made for SYSTEM and Administrators alone: in the root of C: any user may make a folder of
// that name and turn it into a link, which must not redirect what this program writes. A
// folder or junction there does not open as a file, so the entry is skipped. (Nothing here
// may ask the volume anything: with the option ticked, Wine's device host is suspended.)
void AppendOnNtFamily(const std::string& entry) {
    using namespace win;
    AdminDescriptor security;
    if (!security.Build(UsersAccess::None, false)) return;
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), security.Get(), FALSE};
    auto& files = platform::Files();
    const platform::ScopedHandle log(files.CreateFileA(kLogPath, FILE_APPEND_DATA, FILE_SHARE_READ, &attributes,
                                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                                       nullptr));
    if (!log) return;
    const std::string text = AsTextLines(entry);
    DWORD written = 0;
    files.WriteFile(log.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void WriteDebugLog(const std::string& entry) {
    if (platform::IsNtFamily()) {
        AppendOnNtFamily(entry);
        return;
    }
    platform::IFiles& files = platform::Files();
    const platform::ScopedStream log(files.fopen(kLogPath, "at"));
    if (!log) return;
    files.fputs((entry + "\n").c_str(), log.Get());
}
