// The clocks of the benchmarks under Wine: the system time, shared by all processes, and
// the CPU time of a Unix process.
#pragma once

#include "platform/win32/Win32.h"

#include <cstdint>
#include <cstdio>

namespace bench {

inline int64_t Now() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// Milliseconds from one system time to another.
inline double Ms(int64_t from, int64_t to) { return (to - from) / 10000.0; }

// User + system time of a Unix process in clock ticks, from /proc/PID/stat through
// Wine's drive Z:; -1 when it cannot be read.
inline int64_t UnixCpuTicks(DWORD unixPid) {
    char path[64];
    std::snprintf(path, sizeof path, "Z:\\proc\\%lu\\stat", static_cast<unsigned long>(unixPid));
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    char text[1024] = {0};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    // The fields after the command name in parentheses: state is field 3, utime 14, stime 15.
    const char* field = nullptr;
    for (const char* c = text; *c; ++c) {
        if (*c == ')') field = c + 1;
    }
    if (field == nullptr) return -1;
    int64_t values[13] = {0};
    int index = 0;
    for (const char* c = field; *c && index < 13;) {
        while (*c == ' ') ++c;
        int64_t value = 0;
        while (*c >= '0' && *c <= '9') value = value * 10 + (*c++ - '0');
        while (*c && *c != ' ') ++c;
        values[index++] = value;
    }
    return index == 13 ? values[11] + values[12] : -1;
}

}  // namespace bench
