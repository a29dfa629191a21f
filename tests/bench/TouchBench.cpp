// What the host charges for memory written for the first time: a fresh block of the given
// size in MiB, one write per page. A virtual machine's host may back only part of the
// guest's memory at full speed; beside background programs that hold some of it, Drainex's
// claims then cost more for reasons outside the boost. Prints one row for tools/bench.sh.
#include <chrono>
#include <cstdlib>
#include <memory>

#include "BenchTable.h"

int main(int argc, char** argv) {
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2048;
    const size_t size = mib << 20;
    constexpr size_t kPage = 4096;
    std::unique_ptr<char[]> block(new char[size]);
    volatile char* bytes = block.get();
    const auto start = std::chrono::steady_clock::now();
    for (size_t at = 0; at < size; at += kPage) bytes[at] = 1;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    bench::Row("host: first write of " + std::to_string(mib) + " MiB, native", bench::Duration(took.count()), "-", "-");
    return 0;
}
