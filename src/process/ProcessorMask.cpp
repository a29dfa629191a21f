#include "process/ProcessorMask.h"

#include "platform/Platform.h"

using namespace win;

DWORD GetActiveProcessorMask() {
    SYSTEM_INFO info{};
    platform::SystemInfo().GetSystemInfo(&info);
    return static_cast<DWORD>(info.dwActiveProcessorMask);
}

DWORD GetActiveProcessorCount() {
    DWORD mask = GetActiveProcessorMask();
    DWORD count = 0;
    while (count < 32 && ((mask >> count) & 1) != 0) ++count;
    return count;
}
