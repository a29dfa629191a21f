#include <gtest/gtest.h>

#include <string>

#include "network/PingOutput.h"

namespace {

// The verdict for ping output as it prints it (CR LF line ends).
int VerdictFor(const std::string& output) {
    std::string bytes;
    for (char c : output) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return network::ReportsReply(bytes) ? 1 : 0;
}

TEST(PingVerdict, EnglishOutputFirstReplyOrPacketLineDecides) {
    EXPECT_EQ(VerdictFor("\nPinging 10.0.0.1 with 1472 bytes of data:\n"
                         "Reply from 10.0.0.1: bytes=1472 time=3ms TTL=57\n\n"
                         "Ping statistics for 10.0.0.1:\n    Packets: Sent = 1, Received = 1, Lost = 0 (0% loss),\n"),
              1);
    EXPECT_EQ(VerdictFor("\nPinging 10.0.0.1 with 1500 bytes of data:\n"
                         "Packet needs to be fragmented but DF set.\n\n"
                         "Ping statistics for 10.0.0.1:\n    Packets: Sent = 1, Received = 0, Lost = 1 (100% loss),\n"),
              0);
    EXPECT_EQ(VerdictFor("Packet needs to be fragmented but DF set.\nReply from 10.0.0.1: bytes=32 time=3ms TTL=57\n"), 0);
    EXPECT_EQ(VerdictFor("Request timed out.\n\nPing statistics for 10.0.0.1:\n"), 0);
    EXPECT_EQ(VerdictFor("reply from 10.0.0.1: bytes=32 time=3ms TTL=57\n"), 0);
    EXPECT_EQ(VerdictFor(""), 0);
    // The last line needs no line end.
    EXPECT_EQ(VerdictFor("Reply from 10.0.0.1: bytes=32 time=3ms TTL=57"), 1);
}

TEST(PingVerdict, ReplyLinesWithoutAnEchoAreNoReply) {
    EXPECT_EQ(VerdictFor("Reply from 192.168.0.1: Destination host unreachable.\n"), 0);
    EXPECT_EQ(VerdictFor("Reply from 192.168.0.1: Destination net unreachable.\n"), 0);
    EXPECT_EQ(VerdictFor("Reply from 192.168.0.1: TTL expired in transit.\n"), 0);
    // A host that echoes less than it was sent still replied.
    EXPECT_EQ(VerdictFor("Reply from 8.8.8.8: bytes=68 (sent 1472) time=30ms TTL=117\n"), 1);
}

TEST(PingVerdict, KoreanOutput) {
    EXPECT_EQ(VerdictFor("\nPing 10.0.0.1 1472바이트 데이터 사용:\n10.0.0.1의 응답: 바이트=1472 시간=3ms TTL=57\n"), 1);
    EXPECT_EQ(VerdictFor("응답: 10.0.0.1 바이트=32 시간<1ms TTL=128\n"), 1);
    EXPECT_EQ(VerdictFor("\nPing 10.0.0.1 1500바이트 데이터 사용:\n패킷을 조각화해야 하지만 DF가 설정되었습니다.\n"
                         "10.0.0.1의 응답: 바이트=32 시간=3ms TTL=57\n"),
              0);
    EXPECT_EQ(VerdictFor("10.0.0.1의 응답: 대상 호스트에 연결할 수 없습니다.\n"), 0);
    EXPECT_EQ(VerdictFor("요청 시간이 만료되었습니다.\n"), 0);
}

TEST(PingVerdict, MatchesOnlyAtCharacterStarts) {
    // 0x81 'b' is one double-byte character, so this line carries no "bytes=".
    EXPECT_EQ(VerdictFor("Reply from 10.0.0.1: \x81" "bytes=32\n"), 0);
}

TEST(PingVerdict, LongLinesAreReadWhole) {
    EXPECT_EQ(VerdictFor(std::string(600, ' ') + "x\nReply from 10.0.0.1: bytes=32 time=3ms TTL=57\n"), 1);
    // The tail of a long line is not a line of its own.
    EXPECT_EQ(VerdictFor("Note " + std::string(250, '-') + "Reply from 10.0.0.1: bytes=32\n"), 0);
}

}  // namespace
