// The stages of one boost, read from the bench spy's records and the test ping's log:
// the rows of the benchmark table and where the program's own time goes.
#pragma once

#include <string>
#include <vector>

#include "SpyRecords.h"

namespace bench {

// What the harness saw of one boost besides the spy's records.
struct BoostObservation {
    HWND main = nullptr;
    HWND bar = nullptr;
    HWND running = nullptr;
    int processesActedOn = -1;
    int64_t idleVornelTicks = -1;  // CPU of Vornel's Unix process while the running window idled
    int64_t idleChildTicks = -1;   // and of an idle window program meanwhile
    double idleMs = 0;
    int64_t waitingVornelTicks = -1;  // CPU of Vornel's Unix process while it waited for a game
    double waitingMs = 0;
    long idleFrom = 0;  // the records of the idle time
    long idleTo = 0;
};

// One run of the test ping: its process's creation and its end, in system time.
struct PingRun {
    int64_t created;
    int64_t ended;
};

std::vector<PingRun> ReadPingLog(const char* path);
int CountLogEntries(const char* path);
// One line a record: ms from the first record, kind, message, window, wParam, lParam, CPU ticks.
void WriteRecords(const char* path, const std::vector<SpyRecord>& records);
// Prints the table rows of the boost and of its waits, and the breakdown.
void ReportBoost(const std::vector<SpyRecord>& records, const BoostObservation& boost,
                 const std::vector<PingRun>& pings, int logEntries, double messageCostMs);

}  // namespace bench
