// The seam's names come before the Windows headers (BoostReport.h), whose macros clash with them.
#include "drainex/ReleaseMessages.h"
#include "network/ProbeMessages.h"
#include "resources/ResourceIds.h"

#include "BoostReport.h"

#include <tlhelp32.h>

#include <cctype>
#include <functional>

#include "BenchTable.h"

namespace bench {

namespace {

constexpr UINT kSetPos = WM_USER + 2;  // PBM_SETPOS
constexpr double kMsPerClockTick = 10.0;  // USER_HZ 100
constexpr double kWatchPeriodMs = 500.0;  // the running window's timer

// The records of one boost, searched forward from an index.
class Timeline {
public:
    explicit Timeline(std::vector<SpyRecord> records) : records_(std::move(records)) {}

    // Index of the first record at or after from that matches; -1 when there is none.
    long Find(long from, const std::function<bool(const SpyRecord&)>& matches) const {
        if (from < 0) return -1;
        for (size_t i = static_cast<size_t>(from); i < records_.size(); ++i) {
            if (matches(records_[i])) return static_cast<long>(i);
        }
        return -1;
    }
    long Called(long from, UINT message, HWND window = nullptr) const {
        return Find(from, [=](const SpyRecord& r) {
            return r.kind == SpyKind::Called && r.message == message && (window == nullptr || Is(r, window));
        });
    }
    long Returned(long from, UINT message, HWND window = nullptr) const {
        return Find(from, [=](const SpyRecord& r) {
            return r.kind == SpyKind::Returned && r.message == message && (window == nullptr || Is(r, window));
        });
    }
    long Kind(long from, SpyKind kind) const {
        return Find(from, [=](const SpyRecord& r) { return r.kind == kind; });
    }
    int Count(long from, long to, const std::function<bool(const SpyRecord&)>& matches) const {
        int count = 0;
        for (long i = from; i >= 0 && i < to && i < static_cast<long>(records_.size()); ++i) count += matches(records_[i]);
        return count;
    }
    // Time the thread spent handling the given messages between two records (each from its
    // Called record to the next Returned record of the same message).
    double HandlingMs(long from, long to, UINT first, UINT last) const {
        double total = 0;
        for (long i = from; i >= 0 && i < to; ++i) {
            const SpyRecord& r = records_[i];
            if (r.kind != SpyKind::Called || r.message < first || r.message > last) continue;
            long done = Returned(i + 1, r.message);
            if (done >= 0) total += Ms(r.time, records_[done].time);
        }
        return total;
    }
    const SpyRecord& operator[](long index) const { return records_[static_cast<size_t>(index)]; }
    int64_t Time(long index) const { return records_[static_cast<size_t>(index)].time; }

    static bool Is(const SpyRecord& r, HWND window) { return r.window == reinterpret_cast<uint64_t>(window); }

private:
    std::vector<SpyRecord> records_;
};

bool IsCommand(const SpyRecord& r, HWND window, int id) {
    return r.kind == SpyKind::Called && r.message == WM_COMMAND && Timeline::Is(r, window) && LOWORD(r.wParam) == id &&
           HIWORD(r.wParam) == BN_CLICKED;
}

// The records that mark the stages of one boost; -1 where one is missing.
struct Marks {
    long click, firstPing, probeDone, probeHandled, networkWake, drainexStart, begin, range, end, endHandled,
        releaseWake, lastProcessSnapshot, full, painted, close, cleared, boostEnd;

    Marks(const Timeline& t, const BoostObservation& boost) {
        auto isPing = [](const SpyRecord& r) { return r.kind == SpyKind::ProcessStart && r.message == 1; };
        auto isDrainex = [](const SpyRecord& r) { return r.kind == SpyKind::ProcessStart && r.message == 0; };
        auto isBarAt = [&](int position) {
            return [&boost, position](const SpyRecord& r) {
                return r.kind == SpyKind::Called && r.message == kSetPos && Timeline::Is(r, boost.bar) &&
                       r.wParam == static_cast<uint64_t>(position);
            };
        };
        click = t.Find(0, [&](const SpyRecord& r) { return IsCommand(r, boost.main, resources::IDC_BOOST); });
        firstPing = t.Find(click, isPing);
        probeDone = t.Called(click, WM_PROBE_DONE, boost.main);
        probeHandled = t.Returned(probeDone, WM_PROBE_DONE, boost.main);
        networkWake = t.Kind(probeHandled, SpyKind::Retrieved);
        drainexStart = t.Find(probeHandled, isDrainex);
        begin = t.Called(probeHandled, WM_RELEASE_BEGIN, boost.main);
        range = t.Called(begin, WM_RELEASE_RANGE, boost.main);
        end = t.Called(range, WM_RELEASE_END, boost.main);
        endHandled = t.Returned(end, WM_RELEASE_END, boost.main);
        releaseWake = t.Kind(endHandled, SpyKind::Retrieved);
        full = t.Find(releaseWake, isBarAt(100));
        lastProcessSnapshot = -1;
        for (long i = releaseWake; i >= 0 && i < full; ++i) {
            if (t[i].kind == SpyKind::Snapshot && (t[i].message & TH32CS_SNAPPROCESS)) lastProcessSnapshot = i;
        }
        painted = t.Returned(full, WM_PAINT, boost.running);
        close = t.Find(painted, [&](const SpyRecord& r) { return IsCommand(r, boost.running, resources::IDC_CLOSE); });
        cleared = t.Find(close, isBarAt(0));
        boostEnd = t.Find(close, [&](const SpyRecord& r) {
            return r.kind == SpyKind::Returned && r.message == WM_COMMAND && Timeline::Is(r, boost.main) &&
                   LOWORD(r.wParam) == resources::IDC_BOOST;
        });
    }

    bool Complete() const {
        for (long index : {click, firstPing, probeDone, probeHandled, networkWake, drainexStart, begin, range, end,
                           endHandled, releaseWake, full, painted, close, cleared, boostEnd}) {
            if (index < 0) return false;
        }
        return true;
    }
};

}  // namespace

void ReportBoost(const std::vector<SpyRecord>& records, const BoostObservation& boost,
                 const std::vector<PingRun>& pings, int logEntries, double messageCostMs) {
    const Timeline t(records);
    const Marks m(t, boost);
    if (!m.Complete()) {
        std::printf("boost bench: the boost's records are incomplete\n");
        return;
    }
    auto span = [&t](long from, long to) { return Ms(t.Time(from), t.Time(to)); };
    auto count = [&t](long from, long to, SpyKind kind, UINT message) {
        return t.Count(from, to, [=](const SpyRecord& r) { return r.kind == kind && r.message == message; });
    };
    const auto isSnapshot = [](const SpyRecord& r) { return r.kind == SpyKind::Snapshot; };

    // Reference: the time inside ping (each process from its creation to its end) and in Drainex's passes.
    double insidePing = 0;
    for (const PingRun& run : pings) insidePing += Ms(run.created, run.ended);
    const double passes = span(m.range, m.end);
    const double reference = insidePing + passes;
    const std::string ofReference = "ping+passes " + bench::Duration(reference);
    auto ownRow = [&](const std::string& figure, double ms) {
        bench::Row(figure, bench::Duration(ms), ofReference, bench::Ratio(ms, reference));
    };

    const int pingCount = t.Count(m.click, m.probeDone, [](const SpyRecord& r) {
        return r.kind == SpyKind::ProcessStart && r.message == 1;
    });
    const int64_t announced = t[m.range].lParam;
    const int claimMessages = t.Count(m.range, m.end, [&](const SpyRecord& r) {
        return r.kind == SpyKind::Called && r.message == WM_RELEASE_PROGRESS && r.lParam < announced / 2;
    });
    const long long blocks = static_cast<long long>(claimMessages) * 1024;
    const double probe = span(m.firstPing, m.probeDone);
    const double memory = span(m.probeHandled, m.releaseWake);

    bench::Section("one boost of Vornel.exe under Wine (x86-64); reference: time inside ping + Drainex's passes");
    ownRow("graphics values, probe start", span(m.click, m.firstPing));
    bench::Row("probe: " + std::to_string(pingCount) + " pings, MTU " + std::to_string(t[m.probeDone].lParam),
               bench::Duration(probe), "inside ping " + bench::Duration(insidePing), bench::Ratio(probe, insidePing));
    ownRow("TCP/IP values and backup", span(m.probeDone, m.probeHandled));
    bench::Row("memory release: " + std::to_string(blocks) + " blocks", bench::Duration(memory),
               "Drainex passes " + bench::Duration(passes), bench::Ratio(memory, passes));
    ownRow("rules: " + std::to_string(t.Count(m.releaseWake, m.full, isSnapshot)) + " snapshots, " +
               std::to_string(boost.processesActedOn) + " processes acted on",
           span(m.releaseWake, m.full));
    ownRow("hand-off to the running window", span(m.full, m.painted));
    ownRow("undo (snapshots: " + std::to_string(t.Count(m.close, m.cleared, isSnapshot)) + ")",
           span(m.close, m.cleared));
    const double whole = span(m.click, m.painted);
    bench::Row("whole boost (click to running window painted)", bench::Duration(whole), ofReference,
               bench::Ratio(whole, reference));
    ownRow("  of which the program's own time", whole - reference);

    bench::Section("waits: CPU time of Vornel.exe's Unix process (utime + stime) against the wall time");
    const double idleCpu = boost.idleVornelTicks * kMsPerClockTick;
    bench::Row("running window open and idle", "CPU " + bench::Duration(idleCpu), "wall " + bench::Duration(boost.idleMs),
               bench::Ratio(idleCpu, boost.idleMs));
    const double waitingCpu = boost.waitingVornelTicks * kMsPerClockTick;
    bench::Row("main window hidden, waiting for a game (goal <= 1 %)", "CPU " + bench::Duration(waitingCpu),
               "wall " + bench::Duration(boost.waitingMs), bench::Ratio(waitingCpu, boost.waitingMs));
    // Each tick of the running window's timer is one walk of the process list.
    int walks = 0;
    double walking = 0;
    for (long at = t.Called(boost.idleFrom, WM_TIMER, boost.running); at >= 0 && at < boost.idleTo;
         at = t.Called(at + 1, WM_TIMER, boost.running)) {
        const long done = t.Returned(at + 1, WM_TIMER, boost.running);
        if (done < 0) break;
        walking += span(at, done);
        ++walks;
    }
    const double walk = walks > 0 ? walking / walks : -1;
    bench::Row("the watch's walk (mean of " + std::to_string(walks) + " while idle)", bench::Duration(walk),
               "timer period " + bench::Duration(kWatchPeriodMs), bench::Ratio(walk, kWatchPeriodMs));
    const double waitWall = span(m.begin, m.end);
    const bool sampled = t[m.begin].cpuTicks >= 0 && t[m.end].cpuTicks >= 0;
    const double waitCpu = sampled ? (t[m.end].cpuTicks - t[m.begin].cpuTicks) * kMsPerClockTick : -1;
    bench::Row("memory wait (Drainex's first to last message)", "CPU " + bench::Duration(waitCpu),
               "wall " + bench::Duration(waitWall), bench::Ratio(waitCpu, waitWall));

    // Where the program's own time goes.
    double starting = 0, afterPing = 0;
    long at = m.click;
    for (const PingRun& run : pings) {
        at = t.Find(at, [](const SpyRecord& r) { return r.kind == SpyKind::ProcessStart && r.message == 1; });
        if (at < 0) break;
        starting += Ms(t.Time(at), run.created);
        const long step = t.Called(at, WM_PROBE_STEP, boost.main);
        if (step >= 0) afterPing += Ms(run.ended, t.Time(step));
        ++at;
    }
    const int releaseMessages = t.Count(m.begin, m.end + 1, [](const SpyRecord& r) {
        return r.kind == SpyKind::Called && r.message >= WM_RELEASE_RANGE && r.message <= WM_RELEASE_END;
    });
    std::printf("\nwhere the boost's own time goes\n");
    std::printf("  the probe's own cost, outside the ping processes: %.1f ms for %zu pings\n", probe - insidePing,
                pings.size());
    std::printf("  probe: %zu ping runs logged; CreateProcessA before each ping process exists %.1f ms in all, "
                "from each ping's end to its step message %.1f ms, handling the step messages %.1f ms\n",
                pings.size(), starting, afterPing,
                t.HandlingMs(m.firstPing, m.probeDone, WM_PROBE_STEP, WM_PROBE_STEP));
    std::printf("  the network wait ends %.1f ms after the probe's end was handled; Drainex is started %.1f ms after "
                "that and sends its first message %.1f ms after its start\n",
                span(m.probeHandled, m.networkWake), span(m.networkWake, m.drainexStart),
                span(m.drainexStart, m.begin));
    std::printf("  memory: %lld of the %lld blocks asked for claimed (until the address-space limit); Vornel "
                "handled Drainex's %d messages in %.1f ms, with CPU %.3f ms a message; %d repaints and %d timer "
                "messages in the wait, which ends %.1f ms after the end message\n",
                blocks, static_cast<long long>(announced) * 512, releaseMessages,
                t.HandlingMs(m.begin, m.endHandled + 1, WM_RELEASE_RANGE, WM_RELEASE_END),
                sampled && releaseMessages ? waitCpu / releaseMessages : -1.0,
                count(m.begin, m.end, SpyKind::Retrieved, WM_PAINT), count(m.begin, m.end, SpyKind::Retrieved, WM_TIMER),
                span(m.endHandled, m.releaseWake));
    if (m.lastProcessSnapshot >= 0) {
        std::printf("  rules: composing the script with the catalogue check %.1f ms (%d process snapshots), "
                    "executing it %.1f ms (%d snapshots, %d debug log entries in all)\n",
                    span(m.releaseWake, m.lastProcessSnapshot),
                    t.Count(m.releaseWake, m.lastProcessSnapshot, isSnapshot), span(m.lastProcessSnapshot, m.full),
                    t.Count(m.lastProcessSnapshot, m.full, isSnapshot), logEntries);
    }
    std::printf("  idle running window: %d repaints and %d timer messages in %.1f s; an idle window program took "
                "CPU %.0f ms\n",
                count(boost.idleFrom, boost.idleTo, SpyKind::Retrieved, WM_PAINT),
                count(boost.idleFrom, boost.idleTo, SpyKind::Retrieved, WM_TIMER), boost.idleMs / 1000,
                boost.idleChildTicks * kMsPerClockTick);
    std::printf("  undo: from the close click to the end of the boost button's handling %.1f ms\n",
                span(m.close, m.boostEnd));
    const int retrieved = t.Count(m.click, m.painted, [](const SpyRecord& r) { return r.kind == SpyKind::Retrieved; });
    std::printf("  measuring: the spy's hook on %d messages from the click to the running window costs about "
                "%.1f ms\n",
                retrieved, retrieved * messageCostMs);
}

std::vector<PingRun> ReadPingLog(const char* path) {
    std::vector<PingRun> runs;
    if (FILE* log = std::fopen(path, "r")) {
        long long created = 0, ended = 0;
        int size = 0;
        while (std::fscanf(log, "%lld %lld %d", &created, &ended, &size) == 3) runs.push_back({created, ended});
        std::fclose(log);
    }
    return runs;
}

int CountLogEntries(const char* path) {
    int entries = 0;
    if (FILE* log = std::fopen(path, "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, log)) {
            for (const char* c = line; *c; ++c) {
                if (!std::isspace(static_cast<unsigned char>(*c))) {
                    ++entries;
                    break;
                }
            }
        }
        std::fclose(log);
    }
    return entries;
}

void WriteRecords(const char* path, const std::vector<SpyRecord>& records) {
    FILE* file = records.empty() ? nullptr : std::fopen(path, "w");
    if (file == nullptr) return;
    for (const SpyRecord& r : records) {
        std::fprintf(file, "%.3f\t%u\t%u\t%llx\t%llx\t%lld\t%lld\n", Ms(records.front().time, r.time),
                     static_cast<unsigned>(r.kind), r.message, static_cast<unsigned long long>(r.window),
                     static_cast<unsigned long long>(r.wParam), static_cast<long long>(r.lParam),
                     static_cast<long long>(r.cpuTicks));
    }
    std::fclose(file);
}

}  // namespace bench
