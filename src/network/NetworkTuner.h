// The network optimiser of the main dialog: finds the largest payload that
// reaches the probe host unfragmented, rewrites the TCP/IP parameters from it
// and keeps the old values in a backup file.
#pragma once

#include <string>

#include "platform/KernelTypes.h"

// A literal address, so no name lookup stands between the user and the first ping:
// KT's public resolver, which answers echo requests and sits inside the Korean
// networks that this program's users are on.
constexpr const char* kDefaultProbeHost = "168.126.63.1";

class OverwriteRecorder;
class RegistryKey;

class NetworkTuner {
public:
    NetworkTuner();
    virtual ~NetworkTuner();

    // Starts the probe on a worker thread that reports to window with WM_PROBE_STEP and
    // WM_PROBE_DONE. False when the thread cannot be started: then no message will come.
    bool StartProbe(const std::string& host, win::HWND window);
    static win::DWORD KAPI ProbeWorker(void* tuner);
    // One ping of size bytes with the don't-fragment flag; 1 when it came back.
    int ProbeSize(int size);
    // Runs program (a full path) with commandLine, hidden, and waits for it, keeping its
    // standard output: on the NT family read from a pipe into pipedOutput, on the 9x family
    // in the file outputPath. False, with nothing run, when the pipe or the output file
    // cannot be made, the command does not fit the command buffer or program is empty;
    // false too when it cannot be started.
    bool RunCaptured(const std::string& program, const std::string& commandLine);
    // 1 when the output kept by RunCaptured reports an echo reply, else 0.
    int ReadPingVerdict();

    // Segment size and receive window for a payload size on the running platform.
    void ComputeMssAndWindow(int size, int& mss, int& window);
    // Writes the TCP/IP values for size and appends the old ones to backupPath.
    void ApplyTcpTuning(int size, const std::string& backupPath);
    // Tells the recorder of every TCP/IP value just before it is written (none: nullptr).
    void RecordOverwritesWith(OverwriteRecorder* recorder) { overwriteRecorder = recorder; }

private:
    static constexpr std::size_t kCommandBufferSize = 260;  // so a command holds at most 259 characters

    std::string ProbeCommandLine(int size) const;
    bool RunIntoPipe(const std::string& program, const std::string& commandLine);
    bool RunIntoFile(const std::string& program, const std::string& commandLine);
    // Starts program hidden, with output as its standard output and handles inherited.
    bool StartHidden(const std::string& program, const std::string& commandLine, win::HANDLE output,
                     win::PROCESS_INFORMATION& process);
    enum class OldValue { Dword, String };
    // Appends the value's name and its old content (or "Default") to tcpBackupText.
    void RecordOldValue(RegistryKey& key, const char* name, OldValue kind);
    void BeforeOverwrite(RegistryKey& key, const char* name);
    void ApplyNtValues(int window);
    void Apply9xValues(int size, int mss, int window);

    std::string probeHost;
    std::string outputPath;
    std::string pipedOutput;
    win::HWND notifyWindow = nullptr;
    std::string tcpBackupText;
    OverwriteRecorder* overwriteRecorder = nullptr;
};

// Makes stateFolder\NetOpti (and stateFolder where missing) and returns the backup file
// path for this moment.
std::string MakeNetworkBackupPath(const std::string& stateFolder);
