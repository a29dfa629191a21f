// Drainex as the Wine tests run it: the real start-up, instance check and release
// passes, on a machine that reports 110 MiB of physical memory, so that a release
// in mode 2 claims 10 MiB (20 progress steps) instead of most of the test machine.
#include "platform/RuntimeImports.h"
#include "../drainex/ReportedMemoryModules.h"
#include "drainex/DrainexRun.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentText, int) {
    ReportedMemoryModules modules(platform::Modules(), 110ull << 20);
    platform::Current().modules = &modules;
    platform::ResetRuntimeImports();
    return RunDrainex(argumentText);
}
