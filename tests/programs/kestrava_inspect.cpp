// Reads back what a boost changed, for the end-to-end runs under Wine.
//   kestrava_inspect display        the display-driver values under the primary adapter's key
//   kestrava_inspect tcpip          the TCP/IP parameters of the NT family
//   kestrava_inspect process PID    priority class, affinity mask and the first thread's suspend count
//   kestrava_inspect pid NAME       the identifiers of the running processes with that executable name
// Prints one "name value" line per item; exit code 1 when something cannot be read.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "graphics/GraphicsTuner.h"
#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

namespace {

using namespace win;

const char* const kDisplayValues[] = {"D3D_88481200", "D3DOGL_74095213", "D3D_98764205", "OGL_MaxFramesAllowed",
                                      "OGL_QualityEnhancements", "OGL_RenderQualityFlags", "D3D_36759435",
                                      "OGL_563A95F1", "OGL_01887890", "OGL_1190801a", "D3D_46205529"};
const char* const kTcpipValues[] = {"SackOpts", "TcpWindowSize", "Tcp1323Opts", "DefaultTTL", "EnablePMTUBHDetect",
                                    "EnablePMTUDiscovery", "GlobalMaxTcpWindowSize", "TcpMaxDupAcks"};

int PrintValues(const std::string& path, const char* const* names, size_t count, bool asBytes) {
    platform::IRegistry& registry = platform::Registry();
    HKEY key = nullptr;
    if (registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        std::printf("missing key %s\n", path.c_str());
        return 1;
    }
    int status = 0;
    for (size_t i = 0; i < count; ++i) {
        BYTE data[64] = {0};
        DWORD size = sizeof data;
        DWORD type = 0;
        if (registry.RegQueryValueExA(key, names[i], nullptr, &type, data, &size) != ERROR_SUCCESS) {
            std::printf("%s missing\n", names[i]);
            status = 1;
            continue;
        }
        std::printf("%s", names[i]);
        if (asBytes) {
            for (DWORD b = 0; b < size; ++b) std::printf(" %02X", data[b]);
        } else {
            DWORD value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24);
            std::printf(" %lu", static_cast<unsigned long>(value));
        }
        std::printf("\n");
    }
    registry.RegCloseKey(key);
    return status;
}

int PrintProcess(DWORD processId) {
    platform::IProcesses& processes = platform::Processes();
    HANDLE process = processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr) return 1;
    DWORD_PTR mask = 0, system = 0;
    processes.GetProcessAffinityMask(process, &mask, &system);
    std::printf("priority %lu\naffinity %lu\n", static_cast<unsigned long>(processes.GetPriorityClass(process)),
                static_cast<unsigned long>(mask));
    platform::Handles().CloseHandle(process);

    // The suspend count of the first thread: suspending returns it, resuming puts it back.
    HANDLE snapshot = processes.CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    long suspended = -1;
    auto openThread = platform::imports::OpenThread();
    for (BOOL more = processes.Thread32First(snapshot, &entry); more && suspended < 0;
         more = processes.Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = openThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (thread == nullptr) continue;
        suspended = static_cast<long>(processes.SuspendThread(thread));
        processes.ResumeThread(thread);
        platform::Handles().CloseHandle(thread);
    }
    platform::Handles().CloseHandle(snapshot);
    std::printf("suspended %ld\n", suspended);
    return suspended < 0 ? 1 : 0;
}

int PrintProcessIds(const char* name) {
    platform::IProcesses& processes = platform::Processes();
    HANDLE snapshot = processes.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int found = 0;
    for (BOOL more = processes.Process32First(snapshot, &entry); more; more = processes.Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, name) == 0) {
            std::printf("%lu\n", static_cast<unsigned long>(entry.th32ProcessID));
            ++found;
        }
    }
    platform::Handles().CloseHandle(snapshot);
    return found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "display") {
        GraphicsTuner tuner;
        std::printf("key %s\n", tuner.AdapterKey().c_str());
        return PrintValues(tuner.AdapterKey(), kDisplayValues, sizeof kDisplayValues / sizeof *kDisplayValues, true);
    }
    if (command == "tcpip") {
        return PrintValues("System\\CurrentControlSet\\Services\\Tcpip\\Parameters", kTcpipValues,
                           sizeof kTcpipValues / sizeof *kTcpipValues, false);
    }
    if (command == "pid" && argc > 2) return PrintProcessIds(argv[2]);
    if (command == "process" && argc > 2) return PrintProcess(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    std::fprintf(stderr, "usage: kestrava_inspect display|tcpip|process PID\n");
    return 2;
}
