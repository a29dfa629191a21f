// A window of the simulated machine that records the release messages it receives,
// with the number of live heap blocks at each of them.
#pragma once

#include <functional>
#include <vector>

#include "drainex/ReleaseMessages.h"
#include "sim/Machine.h"

struct ReleaseReport {
    win::UINT message;
    win::LPARAM value;
    size_t liveBlocks;
};

class ReleaseReceiver {
public:
    explicit ReleaseReceiver(sim::Machine& machine) : machine_(machine) {
        current_ = this;
        window = machine.user.CreateTopLevelWindow("KestravaReceiver", "Kestrava", 100, false, &Procedure);
    }
    ~ReleaseReceiver() { current_ = nullptr; }

    std::vector<win::UINT> Messages() const {
        std::vector<win::UINT> messages;
        for (const ReleaseReport& report : reports) messages.push_back(report.message);
        return messages;
    }
    std::vector<win::LPARAM> Positions() const {
        std::vector<win::LPARAM> positions;
        for (const ReleaseReport& report : reports) {
            if (report.message == WM_RELEASE_PROGRESS) positions.push_back(report.value);
        }
        return positions;
    }
    bool Ended() const { return !reports.empty() && reports.back().message == WM_RELEASE_END; }

    // Runs on each release message before it is recorded.
    std::function<void(win::UINT message)> onMessage;
    std::vector<ReleaseReport> reports;
    win::HWND window = nullptr;

private:
    static win::LRESULT KAPI Procedure(win::HWND, win::UINT message, win::WPARAM, win::LPARAM value) {
        if (message < WM_RELEASE_RANGE || message > WM_RELEASE_END) return 0;
        if (current_->onMessage) current_->onMessage(message);
        current_->reports.push_back({message, value, current_->machine_.memory.LiveBlocks()});
        return 0;
    }

    sim::Machine& machine_;
    static inline ReleaseReceiver* current_ = nullptr;
};

// Positions from..to inclusive.
inline std::vector<win::LPARAM> PositionRun(win::LPARAM from, win::LPARAM to) {
    std::vector<win::LPARAM> run;
    for (win::LPARAM p = from; p <= to; ++p) run.push_back(p);
    return run;
}
