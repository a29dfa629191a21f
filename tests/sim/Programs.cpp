#include "sim/Programs.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {

struct Programs::Completion {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    DWORD exitCode = STILL_ACTIVE;
};

namespace {

struct Waitable : HandleObject {
    std::shared_ptr<Programs::Completion> completion;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

Programs::Programs(Machine& machine) : machine_(machine) { platform::Current().programs = this; }

Programs::~Programs() {
    JoinAll();
    platform::Current().programs = nullptr;
}

void Programs::JoinAll() {
    for (;;) {
        std::vector<std::thread> running;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            running.swap(threads_);
        }
        if (running.empty()) return;
        for (auto& thread : running) thread.join();
    }
}

void Programs::KeepOutputOpenAfterEnd(DWORD milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    outputKeptOpen_ = milliseconds;
}

void Programs::CloseOutputOfEnded(HANDLE output, DWORD after) {
    if (after == 0) {
        machine_.handles.CloseHandle(output);
        return;
    }
    Start([this, output, after] {
        Sleep(after);
        machine_.handles.CloseHandle(output);
        return 0u;
    });
}

void Programs::Install(const std::string& fileName, Program program) {
    std::lock_guard<std::mutex> lock(mutex_);
    programs_[FileKey(fileName)] = std::move(program);
}

std::vector<std::string> Programs::Launched() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return launched_;
}

std::vector<std::string> Programs::LaunchedApplications() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return launchedApplications_;
}

// The program path is cut at the closing quote when it starts with one, else at the first blank.
std::string Programs::ProgramKey(const std::string& commandLine, std::string* arguments) {
    size_t end;
    std::string path;
    if (!commandLine.empty() && commandLine[0] == '"') {
        end = commandLine.find('"', 1);
        path = commandLine.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        end = end == std::string::npos ? commandLine.size() : end + 1;
    } else {
        end = std::min(commandLine.find(' '), commandLine.size());
        path = commandLine.substr(0, end);
    }
    if (arguments) {
        size_t start = commandLine.find_first_not_of(' ', end);
        *arguments = start == std::string::npos ? std::string() : commandLine.substr(start);
    }
    return FileKey(path);
}

std::string Programs::FileKey(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = Lower(slash == std::string::npos ? path : path.substr(slash + 1));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
    return name;
}

std::shared_ptr<Programs::Completion> Programs::Start(std::function<DWORD()> body) {
    auto completion = std::make_shared<Completion>();
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.emplace_back([completion, body] {
        DWORD code = body();
        std::lock_guard<std::mutex> done(completion->mutex);
        completion->exitCode = code;
        completion->done = true;
        completion->ended.notify_all();
    });
    return completion;
}

BOOL Programs::CreateProcessA(const char* applicationName, char* commandLine, SECURITY_ATTRIBUTES* processAttributes,
                              SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD, void*, const char*,
                              STARTUPINFOA* startupInfo, PROCESS_INFORMATION* processInformation) {
    Launch launch;
    launch.securityGiven = processAttributes || threadAttributes;
    if (inheritHandles) launch.inheritedHandles = machine_.handles.InheritableCount();
    launch.commandLine = commandLine ? commandLine : (applicationName ? applicationName : "");
    // An application name is the program's path as it stands, blanks and all.
    std::string key = ProgramKey(launch.commandLine, &launch.arguments);
    if (applicationName) key = FileKey(applicationName);
    Program program;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        launched_.push_back(launch.commandLine);
        launchedApplications_.push_back(applicationName ? applicationName : "");
        auto it = programs_.find(key);
        if (it != programs_.end()) program = it->second;
    }
    if (!program) {
        platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (startupInfo && (startupInfo->dwFlags & STARTF_USESTDHANDLES) && inheritHandles &&
        machine_.handles.Inheritable(startupInfo->hStdOutput)) {
        launch.standardOutput = machine_.handles.Add(machine_.handles.Find(startupInfo->hStdOutput), true);
    }
    if (startupInfo && (startupInfo->dwFlags & STARTF_USESHOWWINDOW)) launch.showCommand = startupInfo->wShowWindow;
    launch.imageHeld = applicationName && machine_.files.HeldAgainstChange(applicationName);
    DWORD keptOpen = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        keptOpen = outputKeptOpen_;
    }
    auto completion = Start([this, program, launch, keptOpen] {
        const DWORD code = program(launch);
        if (launch.standardOutput) CloseOutputOfEnded(launch.standardOutput, keptOpen);
        return code;
    });
    auto process = std::make_shared<Waitable>();
    process->completion = completion;
    auto thread = std::make_shared<Waitable>();
    thread->completion = completion;
    processInformation->hProcess = machine_.handles.Add(process);
    processInformation->hThread = machine_.handles.Add(thread);
    std::lock_guard<std::mutex> lock(mutex_);
    processInformation->dwProcessId = nextThreadId_++;
    processInformation->dwThreadId = nextThreadId_++;
    return TRUE;
}

UINT Programs::WinExec(const char* commandLine, UINT showCommand) {
    Launch launch;
    launch.commandLine = commandLine ? commandLine : "";
    launch.showCommand = showCommand;
    std::string key = ProgramKey(launch.commandLine, &launch.arguments);
    Program program;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        launched_.push_back(launch.commandLine);
        launchedApplications_.push_back("");
        auto it = programs_.find(key);
        if (it != programs_.end()) program = it->second;
    }
    if (!program) return ERROR_FILE_NOT_FOUND;
    Start([program, launch] { return program(launch); });
    return 33;
}

HANDLE Programs::CreateThread(SECURITY_ATTRIBUTES*, SIZE_T, THREAD_START_ROUTINE start, void* parameter, DWORD,
                              DWORD* threadId) {
    auto thread = std::make_shared<Waitable>();
    thread->completion = Start([start, parameter] { return start(parameter); });
    std::lock_guard<std::mutex> lock(mutex_);
    if (threadId) *threadId = nextThreadId_;
    ++nextThreadId_;
    return machine_.handles.Add(thread);
}

DWORD Programs::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto waitable = machine_.handles.Get<Waitable>(handle);
    if (!waitable) return WAIT_FAILED;
    Completion& completion = *waitable->completion;
    std::unique_lock<std::mutex> lock(completion.mutex);
    if (milliseconds == INFINITE) {
        completion.ended.wait(lock, [&] { return completion.done; });
        return WAIT_OBJECT_0;
    }
    bool done = completion.ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                          [&] { return completion.done; });
    return done ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL Programs::GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    auto waitable = machine_.handles.Get<Waitable>(process);
    if (!waitable) return FALSE;
    std::lock_guard<std::mutex> lock(waitable->completion->mutex);
    *exitCode = waitable->completion->exitCode;
    return TRUE;
}

void Programs::Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace sim
