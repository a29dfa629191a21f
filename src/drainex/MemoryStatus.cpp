#include "drainex/MemoryStatus.h"

#include <algorithm>
#include <limits>

#include "platform/RuntimeImports.h"

namespace {

// Rounded up, at least 1, at most the largest 32-bit count.
int32_t WholeMebibytes(uint64_t bytes) {
    const uint64_t mebibyte = 1048576;
    const uint64_t count = bytes / mebibyte + (bytes % mebibyte != 0 ? 1 : 0);
    if (count < 1) return 1;
    return static_cast<int32_t>(std::min<uint64_t>(count, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t QueryMemoryStatus(int32_t& totalMb, int32_t& availableMb, int32_t& freePercent) {
    using namespace win;
    totalMb = 0;
    availableMb = 0;
    freePercent = 0;
    auto statusProc = platform::imports::GlobalMemoryStatus();
    auto statusExProc = platform::imports::GlobalMemoryStatusEx();

    uint64_t total = 0;
    uint64_t available = 0;
    DWORD load = 0;
    if (statusExProc != nullptr) {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        statusExProc(&status);
        total = status.ullTotalPhys;
        available = status.ullAvailPhys;
        load = status.dwMemoryLoad;
    } else if (statusProc != nullptr) {
        MEMORYSTATUS status{};
        status.dwLength = sizeof(status);
        statusProc(&status);
        total = status.dwTotalPhys;
        available = status.dwAvailPhys;
        load = status.dwMemoryLoad;
    } else {
        return 0;
    }
    freePercent = 100 - static_cast<int32_t>(load);
    totalMb = WholeMebibytes(total);
    availableMb = WholeMebibytes(available);
    return totalMb;
}
