// A test on a simulated machine of its own that must end with every kernel handle closed
// and every GDI object and device context it made deleted (windows keep theirs).
#pragma once

#include <gtest/gtest.h>

#include "sim/Machine.h"

namespace sim {

class MachineTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(machine.handles.OpenCount(), 0u) << "kernel handles left open";
        EXPECT_EQ(machine.gdi.LiveObjects(), machine.user.WindowGdiObjects()) << "GDI objects left";
        EXPECT_EQ(machine.gdi.LiveDcs(), 0u) << "device contexts left";
    }

    Machine machine;
};

}  // namespace sim
