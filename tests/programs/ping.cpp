// A stand-in for the system's ping on a path of a chosen MTU; it sends nothing.
// It accepts the options the probe uses ("-n count -f -l size host") and prints
// Windows-style English lines. The test scripts put it where the system's ping lives
// in the Wine prefix (tools/common.sh, system_ping).
//
// The environment variable KESTRAVA_PING_MTU gives the largest payload the path
// carries unfragmented (default 1472, an ordinary Ethernet path). Larger payloads
// sent with -f get "Packet needs to be fragmented but DF set."; without -f they
// reply. The value "none" makes every request time out.
//
// The environment variable KESTRAVA_PING_LOG names a file to which each run appends one
// line for the benchmark: the process's creation time, the time it is about to end
// (both in 100 ns units of the system time) and the size asked for.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../bench/BenchClock.h"

namespace {

int64_t CreationTime() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return (static_cast<int64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

int LoggedExit(int code, int size) {
    if (const char* path = std::getenv("KESTRAVA_PING_LOG")) {
        if (FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "%lld %lld %d\n", static_cast<long long>(CreationTime()),
                         static_cast<long long>(bench::Now()), size);
            std::fclose(log);
        }
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 4;
    int size = 32;
    bool dontFragment = false;
    std::string host;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc) {
            count = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "-l") == 0 && i + 1 < argc) {
            size = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "-f") == 0) {
            dontFragment = true;
        } else {
            host = argv[i];
        }
    }
    if (size < 0 || size > 65500) {
        std::printf("Bad value for option -l, valid range is from 0 to 65500.\n");
        return 1;
    }
    if (host.empty()) {
        std::printf("IP address must be specified.\n");
        return 1;
    }

    const char* setting = std::getenv("KESTRAVA_PING_MTU");
    const bool silent = setting && std::strcmp(setting, "none") == 0;
    const int mtu = setting && !silent ? std::atoi(setting) : 1472;

    std::printf("\nPinging %s with %d bytes of data:\n", host.c_str(), size);
    int received = 0;
    for (int i = 0; i < count; ++i) {
        if (silent) {
            std::printf("Request timed out.\n");
        } else if (dontFragment && size > mtu) {
            std::printf("Packet needs to be fragmented but DF set.\n");
        } else {
            std::printf("Reply from %s: bytes=%d time<1ms TTL=128\n", host.c_str(), size);
            ++received;
        }
    }
    std::printf("\nPing statistics for %s:\n", host.c_str());
    std::printf("    Packets: Sent = %d, Received = %d, Lost = %d (%d%% loss),\n", count, received, count - received,
                count ? (count - received) * 100 / count : 0);
    std::fflush(stdout);
    return LoggedExit(received ? 0 : 1, size);
}
