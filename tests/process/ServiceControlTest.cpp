#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "sim/Machine.h"
#include "process/clsEnhance.h"

namespace {

using win::DWORD;

TEST(clsEnhanceServices, StopSendsTheStopControlAndDisablesEvenWhenAlreadyStopped) {
    sim::Machine machine;
    machine.services.AddService("Spooler", win::SERVICE_AUTO_START, true);
    machine.services.AddService("Idle", win::SERVICE_DEMAND_START, false);
    size_t openBefore = machine.handles.OpenCount();
    clsEnhance enhance;

    enhance.StopService("spooler");
    EXPECT_FALSE(machine.services.IsRunning("Spooler"));
    EXPECT_EQ(machine.services.StartType("Spooler"), win::SERVICE_DISABLED);

    EXPECT_FALSE(enhance.SendServiceStop("Idle"));
    enhance.StopService("Idle");
    EXPECT_EQ(machine.services.StartType("Idle"), win::SERVICE_DISABLED);
    EXPECT_FALSE(enhance.SendServiceStop("NoSuchService"));
    EXPECT_EQ(machine.handles.OpenCount(), openBefore);
}

TEST(clsEnhanceServices, StartOnlyChangesTheStartType) {
    sim::Machine machine;
    machine.services.AddService("Spooler", win::SERVICE_DISABLED, false);
    clsEnhance enhance;
    enhance.StartService("Spooler");
    EXPECT_EQ(machine.services.StartType("Spooler"), win::SERVICE_AUTO_START);
    EXPECT_FALSE(machine.services.IsRunning("Spooler"));
}

TEST(clsEnhanceServices, StartTypeChangeReportsThePreviousTypeOnlyWhenItSucceeds) {
    sim::Machine machine;
    machine.services.AddService("Spooler", win::SERVICE_DEMAND_START, true);
    machine.services.AddService("Bulky", win::SERVICE_DEMAND_START, false, std::string(4200, 'x'));
    size_t openBefore = machine.handles.OpenCount();
    clsEnhance enhance;

    DWORD previous = 99;
    EXPECT_TRUE(enhance.SetServiceStartType("Spooler", win::SERVICE_DISABLED, previous));
    EXPECT_EQ(previous, win::SERVICE_DEMAND_START);
    EXPECT_EQ(machine.services.StartType("Spooler"), win::SERVICE_DISABLED);

    previous = 99;
    EXPECT_FALSE(enhance.SetServiceStartType("NoSuchService", win::SERVICE_DISABLED, previous));
    EXPECT_EQ(previous, 99u);
    EXPECT_FALSE(machine.services.Exists("NoSuchService"));
    // A configuration that does not fit the 4096-byte buffer leaves the service alone.
    EXPECT_FALSE(enhance.SetServiceStartType("Bulky", win::SERVICE_DISABLED, previous));
    EXPECT_EQ(previous, 99u);
    EXPECT_EQ(machine.services.StartType("Bulky"), win::SERVICE_DEMAND_START);
    EXPECT_EQ(machine.handles.OpenCount(), openBefore);

    machine.services.FailManager(true);
    EXPECT_FALSE(enhance.SetServiceStartType("Spooler", win::SERVICE_AUTO_START, previous));
    EXPECT_FALSE(enhance.SendServiceStop("Spooler"));
    EXPECT_TRUE(machine.services.IsRunning("Spooler"));
}

TEST(clsEnhanceServices, StartTypeIsNotChangedOnThe9xFamily) {
    sim::Machine machine;
    machine.services.AddService("Spooler", win::SERVICE_DEMAND_START, true);
    machine.systemInfo.UseWindows9x();
    clsEnhance enhance;
    DWORD previous = 99;
    EXPECT_FALSE(enhance.SetServiceStartType("Spooler", win::SERVICE_DISABLED, previous));
    EXPECT_EQ(previous, 99u);
    EXPECT_EQ(machine.services.ManagerOpens(), 0);
    EXPECT_EQ(machine.services.StartType("Spooler"), win::SERVICE_DEMAND_START);
}

// Each operation needs exactly its own entry points; a missing one disables only that operation.
TEST(clsEnhanceServices, AMissingEntryPointDisablesTheOperationsThatNeedIt) {
    const struct {
        const char* entry;
        bool stopWorks;
        bool changeWorks;
    } cases[] = {
        {"OpenSCManagerA", false, false},      {"OpenServiceA", false, false},
        {"CloseServiceHandle", false, false},  {"ControlService", false, true},
        {"QueryServiceConfigA", true, false}, {"ChangeServiceConfigA", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        sim::Machine machine;
        machine.services.AddService("Spooler", win::SERVICE_DEMAND_START, true);
        machine.modules.RemoveExport("advapi32.dll", c.entry);
        clsEnhance enhance;
        DWORD previous = 99;
        EXPECT_EQ(enhance.SetServiceStartType("Spooler", win::SERVICE_DISABLED, previous), c.changeWorks);
        EXPECT_EQ(machine.services.StartType("Spooler"),
                  c.changeWorks ? win::SERVICE_DISABLED : win::SERVICE_DEMAND_START);
        EXPECT_EQ(enhance.SendServiceStop("Spooler"), c.stopWorks);
        EXPECT_EQ(machine.services.IsRunning("Spooler"), !c.stopWorks);
    }
}

}  // namespace
