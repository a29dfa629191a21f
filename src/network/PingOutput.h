// What one line of ping's output says about the echo request it sent.
#pragma once

#include <string>

namespace network {

enum class PingLine {
    Other,       // neither (headers, statistics, time-outs, errors)
    Reply,       // an echo reply came back
    Fragmented,  // the packet would need fragmenting but the don't-fragment flag was set
};

// Reads English and Korean Windows output. A line that starts like a reply but
// carries no echo (an unreachable destination, an expired TTL) is not a reply.
PingLine ClassifyPingLine(const std::string& line);

// Whether the first line of ping's output (line ends CR LF or LF) that is a reply or a
// fragmentation notice is a reply.
bool ReportsReply(const std::string& output);

}  // namespace network
