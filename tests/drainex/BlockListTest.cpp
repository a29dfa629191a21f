#include <gtest/gtest.h>

#include "drainex/BlockList.h"
#include "sim/Machine.h"

namespace {

win::HLOCAL Fake(uintptr_t n) { return reinterpret_cast<win::HLOCAL>(0x10000 + n * 16); }

TEST(BlockList, GrowsTenfoldWhenAnAppendWouldFillItAndKeepsTheOrder) {
    sim::Machine machine;
    BlockList list;
    for (uintptr_t i = 0; i < 19; ++i) ASSERT_TRUE(list.Append(Fake(i)));
    EXPECT_EQ(list.Capacity(), 20);
    ASSERT_TRUE(list.Append(Fake(19)));
    EXPECT_EQ(list.Capacity(), 200);
    ASSERT_EQ(list.Count(), 20);
    for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(list.At(i), Fake(i)) << i;
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.At(20), nullptr);

    for (uintptr_t i = 20; i < 200; ++i) ASSERT_TRUE(list.Append(Fake(i)));
    EXPECT_EQ(list.Capacity(), 2000);
    EXPECT_EQ(list.At(199), Fake(199));
    EXPECT_EQ(machine.memory.LiveBlocks(), 1u);  // only the current array
}

TEST(BlockList, FailedGrowthLeavesTheListIntactAndUsable) {
    sim::Machine machine;
    machine.memory.SetBudget(0);
    {
        BlockList unallocated;  // not even the first array
        EXPECT_FALSE(unallocated.Append(Fake(0)));
        EXPECT_EQ(unallocated.Count(), 0);
        machine.memory.SetBudget(UINT64_MAX);
        ASSERT_TRUE(unallocated.Append(Fake(0)));
        EXPECT_EQ(unallocated.Capacity(), 20);
    }
    BlockList list;
    for (uintptr_t i = 0; i < 19; ++i) ASSERT_TRUE(list.Append(Fake(i)));
    machine.memory.SetBudget(machine.memory.LiveBytes());
    EXPECT_FALSE(list.Append(Fake(19)));
    EXPECT_EQ(list.Count(), 19);
    EXPECT_EQ(list.Capacity(), 20);
    EXPECT_EQ(list.At(18), Fake(18));
}

TEST(BlockList, DestructionFreesTheArrayButNotTheBlocks) {
    sim::Machine machine;
    win::HLOCAL block = machine.memory.LocalAlloc(0, 1024);
    {
        BlockList list;
        list.Append(block);
    }
    EXPECT_EQ(machine.memory.LiveBlocks(), 1u);
    machine.memory.LocalFree(block);
}

}  // namespace
