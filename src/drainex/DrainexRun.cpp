#include "drainex/DrainexRun.h"

#include <cstdint>

#include "drainex/DrainexArguments.h"
#include "drainex/ReleaseMemory.h"
#include "platform/Platform.h"

namespace {

void ReleaseFor(const char* argumentText) {
    int32_t mode = 0;
    int32_t window = 0;
    if (!ParseReleaseArguments(argumentText, mode, window) || window == 0) return;
    ReleaseMemory(mode, reinterpret_cast<win::HWND>(static_cast<intptr_t>(window)));
}

}  // namespace

// The mutex handle is held until the run has ended, so the name stays taken while
// this instance works.
int RunDrainex(const char* argumentText) {
    win::HANDLE mutex = platform::Sync().CreateMutexA(nullptr, win::TRUE, kDrainexMutexName);
    const bool anotherRuns = platform::Handles().GetLastError() == win::ERROR_ALREADY_EXISTS;
    if (mutex != nullptr) platform::Sync().ReleaseMutex(mutex);
    if (!anotherRuns) ReleaseFor(argumentText);
    if (mutex != nullptr) platform::Handles().CloseHandle(mutex);
    return 0;
}
