#include "process/ProcessCreationTime.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"
#include "platform/ScopedHandle.h"

using namespace win;

uint64_t ProcessCreationTime(DWORD processId) {
    auto getTimes = platform::imports::GetProcessTimes();
    if (getTimes == nullptr) return 0;
    auto& processes = platform::Processes();
    platform::ScopedHandle process(processes.OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    // Protected processes grant only the limited right (NT 6.0 and later).
    if (!process) process = platform::ScopedHandle(processes.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return 0;
    FILETIME creation{}, exit{}, kernelTime{}, userTime{};
    uint64_t time = 0;
    if (getTimes(process.Get(), &creation, &exit, &kernelTime, &userTime)) {
        time = (static_cast<uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
    }
    return time;
}
