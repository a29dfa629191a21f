// Running ping with its output captured in a file, and reading the verdict back.
#include <cstring>

#include "network/NetworkTuner.h"
#include "network/PingOutput.h"
#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "platform/WindowsFamily.h"
#include "registry/AdminSecurity.h"

namespace {

constexpr int kFreshOutputTries = 50;
constexpr win::DWORD kFreshOutputWait = 20;  // ms

// Always a new file, so that no earlier output can be read as this attempt's: the earlier
// file is deleted and the name made anew. Whatever else holds the name (a folder, a
// junction, a link) makes this fail instead of being followed. A console host may still
// hold the earlier file for a moment after ping has ended, so its going is waited for;
// shared for reading, writing and deleting for the same reason. Nothing but ping writes to it.
win::HANDLE MakeFreshOutput(const std::string& path, win::SECURITY_ATTRIBUTES* attributes, bool nt) {
    using namespace win;
    auto& files = platform::Files();
    // The 9x family knows neither reparse points nor shared deletion.
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (nt ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | (nt ? FILE_SHARE_DELETE : 0);
    for (int attempt = 0; attempt < kFreshOutputTries; ++attempt) {
        files.DeleteFileA(path.c_str());
        HANDLE output = files.CreateFileA(path.c_str(), GENERIC_WRITE, sharing, attributes, CREATE_NEW, flags, nullptr);
        if (output != INVALID_HANDLE_VALUE) return output;
        const DWORD found = files.GetFileAttributesA(path.c_str());
        if (found != INVALID_FILE_ATTRIBUTES && (found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) break;
        platform::Programs().Sleep(kFreshOutputWait);
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool NetworkTuner::RunCaptured(const std::string& program, const std::string& commandLine) {
    using namespace win;
    // A command too long for the buffer is refused rather than cut short and run.
    if (commandLine.size() >= kCommandBufferSize) return false;

    // On the NT family the output file is left to SYSTEM and Administrators alone, so that
    // no other program can change ping's output before it is read.
    const bool nt = platform::IsNtFamily();
    AdminDescriptor outputSecurity;
    if (nt && !outputSecurity.Build(UsersAccess::None, false)) return false;
    SECURITY_ATTRIBUTES fileAttributes{sizeof(SECURITY_ATTRIBUTES), nt ? outputSecurity.Get() : nullptr, TRUE};
    auto& memory = platform::Memory();
    HGLOBAL descriptor = memory.GlobalAlloc(GPTR, sizeof(SECURITY_DESCRIPTOR));
    auto* processAttributes =
        static_cast<SECURITY_ATTRIBUTES*>(memory.GlobalAlloc(GPTR, sizeof(SECURITY_ATTRIBUTES)));
    if (descriptor && processAttributes) {
        platform::Registry().InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION);
        platform::Registry().SetSecurityDescriptorDacl(descriptor, TRUE, nullptr, FALSE);
        processAttributes->nLength = sizeof(SECURITY_ATTRIBUTES);
        processAttributes->lpSecurityDescriptor = descriptor;
        processAttributes->bInheritHandle = TRUE;
    }

    const platform::ScopedHandle output(MakeFreshOutput(outputPath, &fileAttributes, nt));
    bool ran = false;
    // Without a fresh output file an earlier attempt's output could be read as this one's.
    if (output) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        startup.hStdOutput = output.Get();
        char buffer[kCommandBufferSize] = {};
        std::memcpy(buffer, commandLine.data(), commandLine.size());
        PROCESS_INFORMATION process{};
        // Named by its full path, so the program's and the current folder are never searched.
        ran = !program.empty() &&
              platform::Programs().CreateProcessA(program.c_str(), buffer, processAttributes, nullptr, TRUE,
                                                  CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process) != FALSE;
        if (ran) {
            const platform::ScopedHandle ping(process.hProcess);
            const platform::ScopedHandle thread(process.hThread);
            platform::Programs().WaitForSingleObject(ping.Get(), INFINITE);
        }
    }
    if (processAttributes) memory.GlobalFree(processAttributes);
    if (descriptor) memory.GlobalFree(descriptor);
    return ran;
}

int NetworkTuner::ReadPingVerdict() {
    auto& files = platform::Files();
    if (files.GetFileAttributesA(outputPath.c_str()) == win::INVALID_FILE_ATTRIBUTES) return 0;
    win::CRTFILE stream = files.fopen(outputPath.c_str(), "rt");
    if (!stream) return 0;

    int verdict = 0;
    std::string line;
    char chunk[256];
    bool more = true;
    while (more) {
        more = files.fgets(chunk, sizeof chunk, stream) != nullptr;
        if (more) line += chunk;
        if (more && (line.empty() || line.back() != '\n')) continue;  // the rest of a long line follows
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        network::PingLine kind = network::ClassifyPingLine(line);
        if (kind != network::PingLine::Other) {
            verdict = kind == network::PingLine::Reply ? 1 : 0;
            break;
        }
        line.clear();
    }
    files.fclose(stream);
    return verdict;
}
