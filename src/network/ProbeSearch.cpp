#include "network/ProbeSearch.h"

namespace network {

namespace {

// The largest payload ping accepts; it refuses a larger one, which so gets no reply.
constexpr int kLargestPayload = 65500;

}  // namespace

ProbeOutcome SearchLargestPayload(const std::function<int(int)>& attempt, const std::function<bool()>& keepGoing) {
    auto replies = [&attempt](int size) { return size <= kLargestPayload && attempt(size) == 1; };
    int size = 1500;
    while (replies(size)) size += 100;

    size -= 10;
    int step = 10;
    bool asked = false;
    for (;;) {
        if (replies(size)) {
            step = 1;
            size += step;
            continue;
        }
        if (step == 1) return {ProbeEnd::Found, size - 1};
        size -= 10;
        if (size < 0) return {ProbeEnd::Exhausted, size};
        if (size >= 1400 || asked) continue;
        if (!keepGoing()) return {ProbeEnd::Declined, size};
        asked = true;
    }
}

}  // namespace network
