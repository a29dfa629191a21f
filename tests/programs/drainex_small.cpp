// Drainex as the Wine tests run it: the real start-up, instance check and release
// passes, on a machine that reports 110 MiB of physical memory, so that a release
// in mode 2 claims 10 MiB (20 progress steps) instead of most of the test machine.
#include "drainex/DrainexRun.h"
#include "platform/win32/Win32.h"

#include <cstring>

namespace {

constexpr win::DWORDLONG kTotalBytes = 110ull << 20;

win::BOOL KAPI SmallMachineStatus(win::MEMORYSTATUSEX* status) {
    status->dwMemoryLoad = 40;
    status->ullTotalPhys = kTotalBytes;
    status->ullAvailPhys = kTotalBytes / 2;
    return TRUE;
}

// The system's modules, with the memory status of the small machine.
class SmallMachineModules : public platform::IModules {
public:
    explicit SmallMachineModules(platform::IModules& system) : system_(system) {}
    win::HMODULE LoadLibraryA(const char* name) override { return system_.LoadLibraryA(name); }
    win::HMODULE GetModuleHandleA(const char* name) override { return system_.GetModuleHandleA(name); }
    win::FARPROC GetProcAddress(win::HMODULE module, const char* name) override {
        if (!IS_INTRESOURCE(name) && std::strcmp(name, "GlobalMemoryStatusEx") == 0) {
            return win::ProcCast<win::FARPROC>(&SmallMachineStatus);
        }
        return system_.GetProcAddress(module, name);
    }
    win::BOOL FreeLibrary(win::HMODULE module) override { return system_.FreeLibrary(module); }

private:
    platform::IModules& system_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentText, int) {
    SmallMachineModules modules(platform::Modules());
    platform::Current().modules = &modules;
    return RunDrainex(argumentText);
}
