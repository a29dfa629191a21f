// Running ping with its output captured, and reading the verdict from it: on the NT family
// through an anonymous pipe, on the 9x family in a file.
#include <cstring>

#include "network/NetworkTuner.h"
#include "network/PingOutput.h"
#include "platform/Platform.h"
#include "platform/ScopedHandle.h"
#include "platform/ScopedStream.h"
#include "platform/WindowsFamily.h"

namespace {

constexpr int kFreshOutputTries = 50;
constexpr win::DWORD kFreshOutputWait = 20;  // ms
constexpr win::DWORD kPipeReadSize = 512;
constexpr win::DWORD kPipeReadInterval = 10;  // ms, while ping runs

// Always a new file, so that no earlier output can be read as this attempt's: the earlier
// file is deleted and the name made anew. A folder at the name makes this fail. A console
// may still hold the earlier file for a moment after ping has ended, so its going is
// waited for; shared for reading and writing for the same reason. Nothing but ping writes to it.
win::HANDLE MakeFreshOutput(const std::string& path) {
    using namespace win;
    auto& files = platform::Files();
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    for (int attempt = 0; attempt < kFreshOutputTries; ++attempt) {
        files.DeleteFileA(path.c_str());
        HANDLE output = files.CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output != INVALID_HANDLE_VALUE) return output;
        const DWORD found = files.GetFileAttributesA(path.c_str());
        if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY)) break;
        platform::Programs().Sleep(kFreshOutputWait);
    }
    return INVALID_HANDLE_VALUE;
}

// The file's contents as the C runtime reads them in text mode; empty when it is missing.
std::string ReadOutputFile(const std::string& path) {
    auto& files = platform::Files();
    std::string text;
    if (files.GetFileAttributesA(path.c_str()) == win::INVALID_FILE_ATTRIBUTES) return text;
    const platform::ScopedStream stream(files.fopen(path.c_str(), "rt"));
    if (!stream) return text;
    char chunk[256];
    while (files.fgets(chunk, sizeof chunk, stream.Get())) text += chunk;
    return text;
}

// Appends what waits in the pipe, without waiting for more.
void DrainPipe(win::HANDLE reader, std::string& output) {
    auto& files = platform::Files();
    char chunk[kPipeReadSize];
    win::DWORD available = 0;
    win::DWORD read = 0;
    while (files.PeekNamedPipe(reader, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           files.ReadFile(reader, chunk, available < sizeof chunk ? available : sizeof chunk, &read, nullptr)) {
        output.append(chunk, read);
    }
}

}  // namespace

bool NetworkTuner::RunCaptured(const std::string& program, const std::string& commandLine) {
    pipedOutput.clear();
    // A command too long for the buffer is refused rather than cut short and run.
    if (commandLine.size() >= kCommandBufferSize) return false;
    return platform::IsNtFamily() ? RunIntoPipe(program, commandLine) : RunIntoFile(program, commandLine);
}

// Nothing on disk stands between ping and the verdict, so no other program can change the
// output or keep a name from being made. Only ping gets the write end.
bool NetworkTuner::RunIntoPipe(const std::string& program, const std::string& commandLine) {
    using namespace win;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!platform::Files().CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return false;
    const platform::ScopedHandle reader(readEnd);
    const HANDLE self = platform::Processes().GetCurrentProcess();
    HANDLE inheritedEnd = nullptr;  // the source is closed whether or not this succeeds
    if (!platform::Handles().DuplicateHandle(self, writeEnd, self, &inheritedEnd, 0, TRUE,
                                             DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE)) {
        return false;
    }
    PROCESS_INFORMATION process{};
    platform::ScopedHandle writer(inheritedEnd);
    const bool ran = StartHidden(program, commandLine, writer.Get(), process);
    writer.Reset();  // ping has its own copy now
    if (!ran) return false;
    const platform::ScopedHandle ping(process.hProcess);
    const platform::ScopedHandle thread(process.hThread);

    // Read while ping runs, so that a full pipe never holds it up, and what is left once it
    // has ended. The pipe's end is not waited for: a console host that inherited the write
    // end from ping keeps it open for a while after ping has gone.
    bool ended = false;
    while (!ended) {
        ended = platform::Programs().WaitForSingleObject(ping.Get(), kPipeReadInterval) != WAIT_TIMEOUT;
        DrainPipe(reader.Get(), pipedOutput);
    }
    return true;
}

// The 9x family keeps the output file: that family has no security for a pipe to add.
bool NetworkTuner::RunIntoFile(const std::string& program, const std::string& commandLine) {
    // Without a fresh output file an earlier attempt's output could be read as this one's.
    const platform::ScopedHandle output(MakeFreshOutput(outputPath));
    if (!output) return false;
    win::PROCESS_INFORMATION process{};
    if (!StartHidden(program, commandLine, output.Get(), process)) return false;
    const platform::ScopedHandle ping(process.hProcess);
    const platform::ScopedHandle thread(process.hThread);
    platform::Programs().WaitForSingleObject(ping.Get(), win::INFINITE);
    return true;
}

bool NetworkTuner::StartHidden(const std::string& program, const std::string& commandLine, win::HANDLE output,
                               win::PROCESS_INFORMATION& process) {
    using namespace win;
    if (program.empty()) return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = output;
    char buffer[kCommandBufferSize] = {};
    std::memcpy(buffer, commandLine.data(), commandLine.size());
    // Named by its full path, so the program's and the current folder are never searched.
    // The default security: nobody but this program's own rights reaches the process.
    return platform::Programs().CreateProcessA(program.c_str(), buffer, nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE,
                                               nullptr, nullptr, &startup, &process) != FALSE;
}

int NetworkTuner::ReadPingVerdict() {
    const bool reply = network::ReportsReply(platform::IsNtFamily() ? pipedOutput : ReadOutputFile(outputPath));
    return reply ? 1 : 0;
}
