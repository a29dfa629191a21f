#include <gtest/gtest.h>

#include <map>

#include "graphics/GraphicsTuner.h"
#include "platform/Platform.h"
#include "sim/MachineTest.h"

namespace {
using namespace win;
using Bytes = std::vector<BYTE>;
using Values = std::map<std::string, Bytes>;

const char* const kAdapterKey = "system\\currentcontrolset\\control\\video\\{5f2a1c3e-0b7d-4e21-9a6c-d3b1e8f40721}\\0000";

const Values kCommonValues = {
    {"D3D_36759435", {0x01, 0x91, 0x82, 0x24}},
    {"OGL_563A95F1", {0xB4, 0x8C, 0x19, 0x34}},
    {"OGL_01887890", {0x01, 0x00, 0x00, 0x00}},
    {"OGL_1190801a", {0x01, 0x00, 0x00, 0x00}},
    {"D3D_46205529", {0x55, 0x49, 0x20, 0x88}},
};

Values WithCommon(Values values) {
    values.insert(kCommonValues.begin(), kCommonValues.end());
    return values;
}

class GraphicsTunerTest : public sim::MachineTest {
protected:
    // The 4-byte REG_BINARY data of a value under the adapter key; empty when missing or of another shape.
    Bytes Written(const std::string& name) {
        DWORD type = 0;
        Bytes data;
        if (!machine.registry.ReadValue(HKEY_LOCAL_MACHINE, kAdapterKey, name, type, data)) return {};
        return type == REG_BINARY ? data : Bytes{};
    }
    void ExpectWritten(const Values& expected) {
        for (const auto& value : expected) EXPECT_EQ(Written(value.first), value.second) << value.first;
    }

};

TEST_F(GraphicsTunerTest, AdapterKeyIsThePrimaryDevicesKeyBelowTheMachineRoot) {
    EXPECT_EQ(GraphicsTuner().AdapterKey(), kAdapterKey);
    EXPECT_EQ(machine.modules.LoadCount("user32.dll"), 0);

    machine.displayDevices.Clear();
    machine.displayDevices.Add("\\\\.\\DISPLAY1", 1, "\\Registry\\Machine\\System\\Other\\0001");
    machine.displayDevices.Add("\\\\.\\DISPLAY2", 1 | DISPLAY_DEVICE_PRIMARY_DEVICE, "System\\CurrentControlSet\\Video\\{AB}\\0000");
    EXPECT_EQ(GraphicsTuner().AdapterKey(), "system\\currentcontrolset\\video\\{ab}\\0000");
}

TEST_F(GraphicsTunerTest, WithoutAPrimaryAdapterNothingIsWritten) {
    machine.displayDevices.Clear();
    machine.displayDevices.Add("\\\\.\\DISPLAY1", 1, "\\Registry\\Machine\\System\\Secondary\\0000");
    GraphicsTuner tuner;
    EXPECT_EQ(tuner.AdapterKey(), "");
    tuner.ApplyProfile(2);
    EXPECT_FALSE(tuner.WriteD3D36759435(1));
    DWORD type;
    Bytes data;
    EXPECT_FALSE(machine.registry.ReadValue(HKEY_LOCAL_MACHINE, "", "D3D_88481200", type, data));
    EXPECT_FALSE(machine.registry.ReadValue(HKEY_LOCAL_MACHINE, "", "D3D_36759435", type, data));
}

TEST_F(GraphicsTunerTest, MissingEnumerationEntryLeavesTheKeyEmpty) {
    machine.modules.RemoveExport("user32.dll", "EnumDisplayDevicesA");
    EXPECT_EQ(GraphicsTuner().AdapterKey(), "");
    EXPECT_EQ(machine.modules.LoadCount("user32.dll"), 0);
}

TEST_F(GraphicsTunerTest, FastProfileWritesItsBytes) {
    GraphicsTuner().ApplyProfile(0);
    ExpectWritten(WithCommon({
        {"D3D_88481200", {0x00, 0x00, 0x00, 0x00}},
        {"D3DOGL_74095213", {0x01, 0x00, 0x00, 0x00}},
        {"D3D_98764205", {0x02, 0x00, 0x00, 0x00}},
        {"OGL_MaxFramesAllowed", {0x02, 0x00, 0x00, 0x00}},
        {"OGL_QualityEnhancements", {0x00, 0x00, 0x00, 0x00}},
        {"OGL_RenderQualityFlags", {0x00, 0x00, 0x00, 0x00}},
    }));
}

TEST_F(GraphicsTunerTest, GraphicsProfileWritesItsBytes) {
    GraphicsTuner().ApplyProfile(2);
    ExpectWritten(WithCommon({
        {"D3D_88481200", {0xE8, 0xFF, 0xFF, 0xFF}},
        {"D3DOGL_74095213", {0x02, 0x00, 0x00, 0x10}},
        {"D3D_98764205", {0x04, 0x00, 0x00, 0x00}},
        {"OGL_MaxFramesAllowed", {0x04, 0x00, 0x00, 0x00}},
        {"OGL_QualityEnhancements", {0xF6, 0xFF, 0xFF, 0xFF}},
        {"OGL_RenderQualityFlags", {0x08, 0x00, 0x00, 0x00}},
    }));
}

TEST_F(GraphicsTunerTest, LevelsOutsideTheTablesFollowEachValuesRule) {
    GraphicsTuner tuner;
    struct Case {
        bool (GraphicsTuner::*writer)(int);
        int level;
        const char* name;
        Bytes expected;
    };
    const Case cases[] = {
        {&GraphicsTuner::WriteD3D98764205, 4, "D3D_98764205", {0x04, 0, 0, 0}},
        {&GraphicsTuner::WriteD3D98764205, 0x1FF, "D3D_98764205", {0xFF, 0, 0, 0}},
        {&GraphicsTuner::WriteD3D98764205, -1, "D3D_98764205", {0x03, 0, 0, 0}},
        {&GraphicsTuner::WriteOGLMaxFramesAllowed, 7, "OGL_MaxFramesAllowed", {0x07, 0, 0, 0}},
        {&GraphicsTuner::WriteOGLMaxFramesAllowed, -5, "OGL_MaxFramesAllowed", {0x02, 0, 0, 0}},
        {&GraphicsTuner::WriteD3D88481200, 3, "D3D_88481200", {0, 0, 0, 0}},
        {&GraphicsTuner::WriteD3D88481200, 1, "D3D_88481200", {0x10, 0, 0, 0}},
        {&GraphicsTuner::WriteD3DOGL74095213, -2, "D3DOGL_74095213", {0x01, 0, 0, 0}},
        {&GraphicsTuner::WriteOGLQualityEnhancements, 1, "OGL_QualityEnhancements", {0x0F, 0, 0, 0}},
        {&GraphicsTuner::WriteOGLRenderQualityFlags, 9, "OGL_RenderQualityFlags", {0, 0, 0, 0}},
        {&GraphicsTuner::WriteD3D36759435, 0, "D3D_36759435", {0x23, 0x17, 0x39, 0x48}},
        {&GraphicsTuner::WriteD3D36759435, -7, "D3D_36759435", {0x01, 0x91, 0x82, 0x24}},
        {&GraphicsTuner::WriteD3D46205529, 0, "D3D_46205529", {0x18, 0x23, 0x75, 0x86}},
        {&GraphicsTuner::WriteOGLUnlockValues, 0, "OGL_563A95F1", {0x43, 0xBD, 0x3A, 0x41}},
        {&GraphicsTuner::WriteOGLUnlockValues, 0, "OGL_1190801a", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE((tuner.*c.writer)(c.level)) << c.name << " level " << c.level;
        EXPECT_EQ(Written(c.name), c.expected) << c.name << " level " << c.level;
    }
}

TEST_F(GraphicsTunerTest, ProtectedAdapterKeyIsWidenedPerWriteAndRestored) {
    machine.registry.Grant(HKEY_LOCAL_MACHINE, kAdapterKey, KEY_READ | WRITE_DAC);
    const Bytes original = machine.registry.SecurityOf(HKEY_LOCAL_MACHINE, kAdapterKey);
    GraphicsTuner().ApplyProfile(2);
    EXPECT_EQ(Written("D3D_46205529"), (Bytes{0x55, 0x49, 0x20, 0x88}));
    EXPECT_EQ(machine.registry.SecurityOf(HKEY_LOCAL_MACHINE, kAdapterKey), original);
    // Ten opens, each widening and restoring the six levels of the path.
    EXPECT_EQ(machine.registry.SecurityWrites().size(), 10u * 6u * 2u);
}

}  // namespace
