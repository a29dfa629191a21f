#include <gtest/gtest.h>

#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace {

TEST(SimMemory, CountsLiveBlocksAndRefusesUnknownOnes) {
    sim::Machine machine;
    auto& memory = platform::Memory();
    win::HLOCAL first = memory.LocalAlloc(win::LMEM_FIXED, 1024);
    win::HGLOBAL second = memory.GlobalAlloc(win::GPTR, 20);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    std::memset(first, 0xAB, 1024);  // blocks are real memory
    EXPECT_EQ(static_cast<unsigned char*>(second)[19], 0);
    EXPECT_EQ(machine.memory.LiveBlocks(), 2u);
    EXPECT_EQ(machine.memory.LiveBytes(), 1044u);

    EXPECT_EQ(memory.LocalFree(first), nullptr);
    EXPECT_EQ(memory.LocalFree(first), first);
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_INVALID_HANDLE);
    EXPECT_EQ(memory.LocalFree(nullptr), nullptr);
    EXPECT_EQ(memory.GlobalFree(second), nullptr);
    EXPECT_EQ(machine.memory.LiveBytes(), 0u);
}

TEST(SimMemory, BudgetRefusesWhatWouldPassIt) {
    sim::Machine machine;
    machine.memory.SetBudget(2048);
    win::HLOCAL first = platform::Memory().LocalAlloc(0, 1024);
    win::HLOCAL second = platform::Memory().LocalAlloc(0, 1024);
    EXPECT_EQ(platform::Memory().LocalAlloc(0, 1), nullptr);
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(machine.memory.FailedAllocations(), 1u);
    platform::Memory().LocalFree(first);
    EXPECT_NE(platform::Memory().LocalAlloc(0, 1024), nullptr);
    platform::Memory().LocalFree(second);
}

}  // namespace
