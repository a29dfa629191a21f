// A stand-in for the system's ping on a path of a chosen MTU; it sends nothing.
// It accepts the options the probe uses ("-n count -f -l size host") and prints
// Windows-style English lines. Placed beside the program that runs "ping ...",
// it is found before the system's.
//
// The environment variable KESTRAVA_PING_MTU gives the largest payload the path
// carries unfragmented (default 1472, an ordinary Ethernet path). Larger payloads
// sent with -f get "Packet needs to be fragmented but DF set."; without -f they
// reply. The value "none" makes every request time out.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    return received ? 0 : 1;
}
