#include "network/PingOutput.h"

#include <algorithm>
#include <cstring>

namespace network {
namespace {

// Korean output: "127.0.0.1의 응답: 바이트=32 시간<1ms TTL=128" and the fragmentation notice.
constexpr const char* kKoreanReply = "응답:";
constexpr const char* kKoreanEchoBytes = "바이트=";
constexpr const char* kKoreanFragmented = "패킷을 조각화해야";

bool StartsWith(const std::string& line, const char* text) { return line.compare(0, std::strlen(text), text) == 0; }

// Looks for text only at character starts: a trailing byte of a double-byte
// character in code page 949 may look like the first byte of another.
bool Contains(const std::string& line, const char* text) {
    const size_t length = std::strlen(text);
    for (size_t i = 0; i + length <= line.size();) {
        if (line.compare(i, length, text) == 0) return true;
        i += static_cast<unsigned char>(line[i]) >= 0x81 ? 2 : 1;
    }
    return false;
}

}  // namespace

PingLine ClassifyPingLine(const std::string& line) {
    if (StartsWith(line, "Reply")) return Contains(line, "bytes=") ? PingLine::Reply : PingLine::Other;
    if (StartsWith(line, "Packet") || StartsWith(line, kKoreanFragmented)) return PingLine::Fragmented;
    if (Contains(line, kKoreanReply) && Contains(line, kKoreanEchoBytes)) return PingLine::Reply;
    return PingLine::Other;
}

bool ReportsReply(const std::string& output) {
    for (size_t start = 0; start < output.size();) {
        const size_t end = std::min(output.find('\n', start), output.size());
        std::string line = output.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        const PingLine kind = ClassifyPingLine(line);
        if (kind != PingLine::Other) return kind == PingLine::Reply;
        start = end + 1;
    }
    return false;
}

}  // namespace network
