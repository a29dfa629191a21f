// Programs, threads and waits of the simulated machine. A program is a function
// installed under its file name; starting it runs the function on a thread of its own.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

class Machine;

struct Launch {
    std::string commandLine;
    std::string arguments;  // the command line after the program path and its blanks
    // The child's own copy of an inherited standard output, closed when the program ends;
    // null when the handle given was not inheritable or handles were not inherited.
    HANDLE standardOutput = nullptr;
    UINT showCommand = 0;
    // Process or thread security attributes were given instead of the default security.
    bool securityGiven = false;
    // How many handles the child inherited (the parent's inheritable ones, with inheritance on).
    size_t inheritedHandles = 0;
    // The program's file was held open against writing and deleting while it was started.
    bool imageHeld = false;
};
using Program = std::function<DWORD(const Launch&)>;

class Programs : public platform::IPrograms {
public:
    explicit Programs(Machine& machine);
    ~Programs() override;  // waits for every thread and program

    // Installs a program under a file name such as "ping" or "Drainex.exe" (the folder is not compared).
    void Install(const std::string& fileName, Program program);
    std::vector<std::string> Launched() const;
    // The application name of each CreateProcessA, in launch order; empty where none was given.
    std::vector<std::string> LaunchedApplications() const;
    // Waits until every started thread and program has ended.
    void JoinAll();
    // Keeps a program's inherited standard output open this long after it ends, as a console
    // host that inherited it does.
    void KeepOutputOpenAfterEnd(DWORD milliseconds);

    BOOL CreateProcessA(const char* applicationName, char* commandLine, SECURITY_ATTRIBUTES* processAttributes,
                        SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        void* environment, const char* currentDirectory, STARTUPINFOA* startupInfo,
                        PROCESS_INFORMATION* processInformation) override;
    UINT WinExec(const char* commandLine, UINT showCommand) override;
    HANDLE CreateThread(SECURITY_ATTRIBUTES* attributes, SIZE_T stackSize, THREAD_START_ROUTINE start,
                        void* parameter, DWORD creationFlags, DWORD* threadId) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override;
    void Sleep(DWORD milliseconds) override;

    struct Completion;

private:
    static std::string ProgramKey(const std::string& commandLine, std::string* arguments);
    static std::string FileKey(const std::string& path);
    std::shared_ptr<Completion> Start(std::function<DWORD()> body);
    void CloseOutputOfEnded(HANDLE output, DWORD after);

    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<std::string, Program> programs_;
    std::vector<std::string> launched_;
    std::vector<std::string> launchedApplications_;
    std::vector<std::thread> threads_;
    DWORD nextThreadId_ = 5000;
    DWORD outputKeptOpen_ = 0;
};

}  // namespace sim
