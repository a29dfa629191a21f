#include "network/ProbeSearch.h"

namespace network {

ProbeOutcome SearchLargestPayload(const std::function<int(int)>& attempt, const std::function<bool()>& keepGoing) {
    int size = 1500;
    while (attempt(size) == 1) size += 100;

    size -= 10;
    int step = 10;
    bool asked = false;
    for (;;) {
        if (attempt(size) == 1) {
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
