// What the bench spy (BenchSpy.cpp, loaded into Vornel.exe by a message hook) writes
// for the boost harness (BoostBench.cpp): time-stamped records in a named section.
#pragma once

#include "BenchClock.h"

namespace bench {

constexpr char kSpySection[] = "KestravaBenchSpy";
constexpr LONG kSpyCapacity = 1 << 18;
constexpr int kMaxSampledMessages = 8;
constexpr int kMaxGivenWindows = 4;

enum class SpyKind : uint32_t {
    Called = 1,        // a watched window's procedure called with a message (sent or dispatched)
    Returned = 2,      // the same call returned
    Retrieved = 3,     // a message taken from the hooked thread's queue
    Snapshot = 4,      // CreateToolhelp32Snapshot called; message holds the flags
    ProcessStart = 5,  // CreateProcessA called; message 1 for ping, 0 otherwise
    ProcessStarted = 6,
};

struct SpyRecord {
    int64_t time;  // 100 ns units of the system time
    SpyKind kind;
    UINT message;
    uint64_t window;
    uint64_t wParam;
    int64_t lParam;
    int64_t cpuTicks;  // the process's user + system clock ticks, for the sampled messages; else -1
};

// The spy watches the given windows from its start, and every other top-level window of
// the hooked thread from the first message taken from the queue for it.
struct SpyShared {
    DWORD targetProcess;  // the Windows process the spy works in
    DWORD unixPid;        // its Unix process, whose /proc/PID/stat gives the CPU time
    UINT sampledMessages[kMaxSampledMessages];  // calls stamped with the CPU time
    uint64_t givenWindows[kMaxGivenWindows];
    volatile LONG patchedImports;  // the import slots the spy has patched
    volatile LONG watching;        // set once the spy watches the given windows
    volatile LONG count;
    SpyRecord records[kSpyCapacity];
};

// A function pointer as another function type (hook procedures, looked-up entries).
template <typename To, typename From>
To FunctionCast(From function) {
    return reinterpret_cast<To>(reinterpret_cast<void*>(function));
}

}  // namespace bench
