#include <gtest/gtest.h>

#include "drainex/MemoryStatus.h"
#include "sim/Machine.h"

namespace {

constexpr uint64_t kMiB = 1048576;

TEST(QueryMemoryStatus, RoundsUpToWholeMebibytesAndAtLeastOne) {
    sim::Machine machine;
    struct Case {
        uint64_t bytes;
        int32_t mebibytes;
    };
    for (Case c : {Case{kMiB + 1, 2}, Case{kMiB, 1}, Case{0, 1}, Case{5 * kMiB - 1, 5}, Case{6144 * kMiB, 6144}}) {
        machine.memory.SetStatus(c.bytes, c.bytes, 37);
        int32_t total = 0, available = 0, freePercent = 0;
        EXPECT_EQ(QueryMemoryStatus(total, available, freePercent), c.mebibytes) << c.bytes;
        EXPECT_EQ(total, c.mebibytes);
        EXPECT_EQ(available, c.mebibytes);
        EXPECT_EQ(freePercent, 63);
    }
}

TEST(QueryMemoryStatus, FallsBackToTheOldEntryPointWithItsThirtyTwoBitValues) {
    sim::Machine machine;
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatusEx");
    machine.memory.SetStatus(6144 * kMiB, 300 * kMiB, 90);
    int32_t total = 0, available = 0, freePercent = 0;
    EXPECT_EQ(QueryMemoryStatus(total, available, freePercent), 4096);
    EXPECT_EQ(available, 300);
    EXPECT_EQ(freePercent, 10);
}

TEST(QueryMemoryStatus, WithoutStatusAllOutputsAreZero) {
    sim::Machine machine;
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatusEx");
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatus");
    int32_t total = 7, available = 7, freePercent = 7;
    EXPECT_EQ(QueryMemoryStatus(total, available, freePercent), 0);
    EXPECT_EQ(total + available + freePercent, 0);

    machine.modules.RemoveModule("kernel32.dll");
    total = available = freePercent = 7;
    EXPECT_EQ(QueryMemoryStatus(total, available, freePercent), 0);
    EXPECT_EQ(total + available + freePercent, 0);
}

}  // namespace
