// The search for the largest payload that replies, apart from how one attempt is made.
#pragma once

#include <functional>

namespace network {

enum class ProbeEnd {
    Found,      // size is the largest payload that replied
    Declined,   // the user chose to stop; size is where the descent was
    Exhausted,  // nothing replied down to below 0; size is where the descent was
};

struct ProbeOutcome {
    ProbeEnd end;
    int size;
};

// Climbs from 1500 in steps of 100 while attempts reply, then descends in steps of 10
// until one replies and climbs by 1 to the first failure. attempt(size) is 1 for a
// reply; keepGoing() is asked once, when the descent first falls below 1400. A size
// above 65500 is not tried and counts as no reply.
ProbeOutcome SearchLargestPayload(const std::function<int(int)>& attempt, const std::function<bool()>& keepGoing);

}  // namespace network
