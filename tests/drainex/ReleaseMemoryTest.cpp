#include <gtest/gtest.h>

#include "drainex/ReleaseMemory.h"
#include "drainex/ReleaseReceiver.h"

namespace {

constexpr uint64_t kMiB = 1048576;

TEST(ReleaseBlockCount, FollowsTheModeTable) {
    EXPECT_EQ(ReleaseBlockCount(1, 512), 262144u);
    EXPECT_EQ(ReleaseBlockCount(2, 2048), 1994752u);
    EXPECT_EQ(ReleaseBlockCount(2, 100), 0u);
    EXPECT_EQ(ReleaseBlockCount(0, 512), 131072u);
    EXPECT_EQ(ReleaseBlockCount(-7, 512), 131072u);
    EXPECT_EQ(ReleaseBlockCount(3, 0), 0u);
    EXPECT_EQ(ReleaseBlockCount(1, 4096), 2097152u);
    EXPECT_EQ(ReleaseBlockCount(1, 4097), 2097152u);
    EXPECT_EQ(ReleaseBlockCount(1, 4095), 2096640u);
    EXPECT_EQ(ReleaseBlockCount(2, 0x7fffffff), 2097152u);
}

TEST(ReleaseBlockCount, ModeTwoBelowOneHundredMebibytesClaimsNothing) {
    EXPECT_EQ(ReleaseBlockCount(2, 99), 0u);
    EXPECT_EQ(ReleaseBlockCount(2, 1), 0u);
    EXPECT_EQ(ReleaseBlockCount(2, 0), 0u);
}

class ReleaseMemoryTest : public ::testing::Test {
protected:
    void SetTotal(uint64_t mebibytes) { machine.memory.SetStatus(mebibytes * kMiB, mebibytes * kMiB / 2, 50); }
    std::vector<win::UINT> Sequence(size_t progressCount) const {
        std::vector<win::UINT> messages{WM_RELEASE_BEGIN, WM_RELEASE_RANGE};
        messages.insert(messages.end(), progressCount, WM_RELEASE_PROGRESS);
        messages.push_back(WM_RELEASE_END);
        return messages;
    }
    // Every position within the announced range.
    void ExpectPositionsWithinRange() const {
        ASSERT_GE(receiver.reports.size(), 2u);
        for (win::LPARAM position : receiver.Positions()) EXPECT_LE(position, receiver.reports[1].value);
    }

    sim::Machine machine;
    ReleaseReceiver receiver{machine};
};

TEST_F(ReleaseMemoryTest, HalfOf512MebibytesReportsBothPassesAcrossTheRange) {
    SetTotal(512);
    EXPECT_TRUE(ReleaseMemory(1, receiver.window));

    ASSERT_EQ(receiver.Messages(), Sequence(512));
    EXPECT_EQ(receiver.reports[1].value, 512);
    std::vector<win::LPARAM> expected = PositionRun(0, 255);
    std::vector<win::LPARAM> release = PositionRun(256, 511);
    expected.insert(expected.end(), release.begin(), release.end());
    EXPECT_EQ(receiver.Positions(), expected);
    // Nothing is claimed before the range is announced; every block is held when the
    // release pass starts (plus the handle list), and all are back by the end message.
    EXPECT_EQ(receiver.reports[1].liveBlocks, 0u);
    EXPECT_EQ(receiver.reports[2 + 256].liveBlocks, 262144u);
    EXPECT_EQ(receiver.reports.back().liveBlocks, 1u);
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(ReleaseMemoryTest, ModeTwoWithoutBlocksSendsOnlyThreeMessages) {
    for (uint64_t total : {100u, 99u, 1u}) {
        receiver.reports.clear();
        SetTotal(total);
        ReleaseMemory(2, receiver.window);
        ASSERT_EQ(receiver.Messages(), Sequence(0)) << total << " MiB";
        EXPECT_EQ(receiver.reports[1].value, 0);
    }
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
    EXPECT_EQ(machine.memory.FailedAllocations(), 0u);
}

TEST_F(ReleaseMemoryTest, ModeTwoOf200MebibytesStaysBelowTheRange) {
    SetTotal(200);
    ReleaseMemory(2, receiver.window);
    ASSERT_EQ(receiver.reports[1].value, 200);
    std::vector<win::LPARAM> expected = PositionRun(0, 99);
    std::vector<win::LPARAM> release = PositionRun(100, 199);
    expected.insert(expected.end(), release.begin(), release.end());
    EXPECT_EQ(receiver.Positions(), expected);
}

// Large machines claim 2 GiB, as much as the 32-bit program can reach, whatever is installed.
TEST_F(ReleaseMemoryTest, LargeMachinesClaimTwoGibibytesAndReportTheBoundedRange) {
    for (uint64_t total : {16384u, 65536u}) {
        receiver.reports.clear();
        SetTotal(total);
        ReleaseMemory(2, receiver.window);
        ASSERT_TRUE(receiver.Ended()) << total << " MiB";
        EXPECT_EQ(ReleaseBlockCount(2, static_cast<int32_t>(total)), 2097152u);
        EXPECT_EQ(receiver.reports[1].value, 4096) << total << " MiB";
        EXPECT_EQ(receiver.reports[2 + 2048].liveBlocks, 2097152u) << total << " MiB";
        EXPECT_EQ(receiver.Positions().size(), 4096u);
        EXPECT_EQ(receiver.Positions().back(), 4095);
    }
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(ReleaseMemoryTest, NoMemoryStatusClaimsNothingInAnyMode) {
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatus");
    machine.modules.RemoveExport("kernel32.dll", "GlobalMemoryStatusEx");
    for (int mode : {1, 2, 0}) {
        receiver.reports.clear();
        ReleaseMemory(mode, receiver.window);
        ASSERT_EQ(receiver.Messages(), Sequence(0)) << "mode " << mode;
        EXPECT_EQ(receiver.reports[1].value, 0);
    }
}

TEST_F(ReleaseMemoryTest, FewerThan512BlocksAnnounceRangeZeroAndPositionZeroTwice) {
    SetTotal(1);  // a quarter: 256 blocks
    ReleaseMemory(0, receiver.window);
    ASSERT_EQ(receiver.Messages(), Sequence(2));
    EXPECT_EQ(receiver.reports[1].value, 0);
    EXPECT_EQ(receiver.Positions(), (std::vector<win::LPARAM>{0, 0}));
}

TEST_F(ReleaseMemoryTest, FailedAllocationStopsClaimingAndStillEnds) {
    SetTotal(8);  // half: 4096 blocks, range 8
    machine.memory.SetBudget(2500 * 1024);
    ReleaseMemory(1, receiver.window);

    EXPECT_EQ(machine.memory.FailedAllocations(), 1u);
    ASSERT_TRUE(receiver.Ended());
    EXPECT_EQ(receiver.Positions(), (std::vector<win::LPARAM>{0, 1, 2, 4, 5, 6}));
    ExpectPositionsWithinRange();
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

TEST_F(ReleaseMemoryTest, FailedListGrowthStopsClaimingAndStillEnds) {
    SetTotal(8);
    // The first list and 20 blocks fit; the list's growth to 200 entries does not.
    machine.memory.SetBudget(20 * sizeof(win::HLOCAL) + 20 * 1024 + 100);
    ReleaseMemory(1, receiver.window);

    EXPECT_EQ(machine.memory.FailedAllocations(), 1u);
    ASSERT_TRUE(receiver.Ended());
    EXPECT_EQ(receiver.Positions(), (std::vector<win::LPARAM>{0, 4}));
    EXPECT_EQ(machine.memory.LiveBlocks(), 0u);
}

}  // namespace
