// Both profiles written under the adapter key the real EnumDisplayDevicesA reports.
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphicsTuner.h"

namespace {

using Bytes = std::vector<BYTE>;
using Values = std::map<std::string, Bytes>;

const Values kFast = {
    {"D3D_88481200", {0x00, 0x00, 0x00, 0x00}},    {"D3DOGL_74095213", {0x01, 0x00, 0x00, 0x00}},
    {"D3D_98764205", {0x02, 0x00, 0x00, 0x00}},    {"OGL_MaxFramesAllowed", {0x02, 0x00, 0x00, 0x00}},
    {"OGL_QualityEnhancements", {0, 0, 0, 0}},     {"OGL_RenderQualityFlags", {0, 0, 0, 0}},
    {"D3D_36759435", {0x01, 0x91, 0x82, 0x24}},    {"OGL_563A95F1", {0xB4, 0x8C, 0x19, 0x34}},
    {"OGL_01887890", {0x01, 0x00, 0x00, 0x00}},    {"OGL_1190801a", {0x01, 0x00, 0x00, 0x00}},
    {"D3D_46205529", {0x55, 0x49, 0x20, 0x88}},
};

const Values kGraphics = {
    {"D3D_88481200", {0xE8, 0xFF, 0xFF, 0xFF}},    {"D3DOGL_74095213", {0x02, 0x00, 0x00, 0x10}},
    {"D3D_98764205", {0x04, 0x00, 0x00, 0x00}},    {"OGL_MaxFramesAllowed", {0x04, 0x00, 0x00, 0x00}},
    {"OGL_QualityEnhancements", {0xF6, 0xFF, 0xFF, 0xFF}}, {"OGL_RenderQualityFlags", {0x08, 0, 0, 0}},
    {"D3D_36759435", {0x01, 0x91, 0x82, 0x24}},    {"OGL_563A95F1", {0xB4, 0x8C, 0x19, 0x34}},
    {"OGL_01887890", {0x01, 0x00, 0x00, 0x00}},    {"OGL_1190801a", {0x01, 0x00, 0x00, 0x00}},
    {"D3D_46205529", {0x55, 0x49, 0x20, 0x88}},
};

// The adapter key as Wine reports it, without any of our code.
std::string ReportedAdapterKey() {
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0); ++index) {
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) return device.DeviceKey;
    }
    return "";
}

class GraphicsTunerWine : public ::testing::Test {
protected:
    void SetUp() override {
        tuner = std::make_unique<GraphicsTuner>();
        ASSERT_FALSE(tuner->AdapterKey().empty()) << "no primary display adapter reported";
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, tuner->AdapterKey().c_str(), 0, KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        for (const auto& value : kFast) {
            Bytes data;
            if (Read(value.first, data)) saved[value.first] = data;
        }
    }
    // Leaves the adapter's values as they were.
    void TearDown() override {
        if (key == nullptr) return;
        for (const auto& value : kFast) {
            auto old = saved.find(value.first);
            if (old == saved.end()) {
                RegDeleteValueA(key, value.first.c_str());
            } else {
                RegSetValueExA(key, value.first.c_str(), 0, savedTypes[value.first], old->second.data(),
                               static_cast<DWORD>(old->second.size()));
            }
        }
        RegCloseKey(key);
    }

    bool Read(const std::string& name, Bytes& data) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        data.assign(size, 0);
        savedTypes[name] = type;
        return RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    }
    void ExpectWritten(const Values& expected) {
        for (const auto& value : expected) {
            DWORD type = 0;
            BYTE data[16] = {};
            DWORD size = sizeof data;
            ASSERT_EQ(RegQueryValueExA(key, value.first.c_str(), nullptr, &type, data, &size), ERROR_SUCCESS)
                << value.first;
            EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY)) << value.first;
            EXPECT_EQ(Bytes(data, data + size), value.second) << value.first;
        }
    }

    std::unique_ptr<GraphicsTuner> tuner;
    HKEY key = nullptr;
    std::map<std::string, Bytes> saved;
    std::map<std::string, DWORD> savedTypes;
};

TEST_F(GraphicsTunerWine, AdapterKeyIsTheReportedKeyBelowTheMachineRoot) {
    std::string reported = ReportedAdapterKey();
    for (char& c : reported) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ("\\registry\\machine\\" + tuner->AdapterKey(), reported);
}

TEST_F(GraphicsTunerWine, BothProfilesWriteTheirExactBytes) {
    tuner->ApplyProfile(0);
    ExpectWritten(kFast);
    tuner->ApplyProfile(2);
    ExpectWritten(kGraphics);
}

}  // namespace
