// A test on a simulated machine of its own that must end with every kernel handle closed.
#pragma once

#include <gtest/gtest.h>

#include "sim/Machine.h"

namespace sim {

class MachineTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(machine.handles.OpenCount(), 0u) << "kernel handles left open"; }

    Machine machine;
};

}  // namespace sim
