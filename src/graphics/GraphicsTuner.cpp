#include "graphics/GraphicsTuner.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "platform/RuntimeImports.h"
#include "platform/Platform.h"
#include "registry/OverwriteRecorder.h"
#include "registry/RegistryKey.h"

using namespace win;

// The data of one value for levels 0, 1 and 2, and what any other level writes.
struct GraphicsTuner::ValueTable {
    enum OtherLevels {
        AsLevel0,
        LowByte,  // a positive level: its low byte, then zeros; a negative one: as level 0
        AsLevel1,
    };
    const char* name;
    BYTE data[3][4];
    OtherLevels otherLevels;
};

namespace {

using Table = GraphicsTuner::ValueTable;

const Table kD3D88481200 = {"D3D_88481200", {{0x00, 0, 0, 0}, {0x10, 0, 0, 0}, {0xE8, 0xFF, 0xFF, 0xFF}}, Table::AsLevel0};
const Table kD3DOGL74095213 = {"D3DOGL_74095213", {{1, 0, 0, 0}, {1, 0, 0, 0x10}, {2, 0, 0, 0x10}}, Table::AsLevel0};
const Table kOGLRenderQualityFlags = {"OGL_RenderQualityFlags", {{0, 0, 0, 0}, {4, 0, 0, 0}, {8, 0, 0, 0}},
                                      Table::AsLevel0};
const Table kOGLQualityEnhancements = {"OGL_QualityEnhancements",
                                       {{0, 0, 0, 0}, {0x0F, 0, 0, 0}, {0xF6, 0xFF, 0xFF, 0xFF}}, Table::AsLevel0};
const Table kD3D98764205 = {"D3D_98764205", {{3, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}}, Table::LowByte};
const Table kOGLMaxFramesAllowed = {"OGL_MaxFramesAllowed", {{2, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}},
                                    Table::LowByte};
const Table kD3D36759435 = {"D3D_36759435",
                            {{0x23, 0x17, 0x39, 0x48}, {0x01, 0x91, 0x82, 0x24}, {0x01, 0x91, 0x82, 0x24}},
                            Table::AsLevel1};
const Table kD3D46205529 = {"D3D_46205529",
                            {{0x18, 0x23, 0x75, 0x86}, {0x55, 0x49, 0x20, 0x88}, {0x55, 0x49, 0x20, 0x88}},
                            Table::AsLevel1};
const Table kOGL563A95F1 = {"OGL_563A95F1",
                            {{0x43, 0xBD, 0x3A, 0x41}, {0xB4, 0x8C, 0x19, 0x34}, {0xB4, 0x8C, 0x19, 0x34}},
                            Table::AsLevel1};
const Table kOGL01887890 = {"OGL_01887890", {{0, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}}, Table::AsLevel1};
const Table kOGL1190801a = {"OGL_1190801a", {{0, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}}, Table::AsLevel1};

const Table* const kAllTables[] = {&kD3D88481200,  &kD3DOGL74095213,      &kOGLRenderQualityFlags, &kOGLQualityEnhancements,
                                   &kD3D98764205,  &kOGLMaxFramesAllowed, &kD3D36759435,           &kD3D46205529,
                                   &kOGL563A95F1,  &kOGL01887890,         &kOGL1190801a};

void PickData(const Table& table, int level, BYTE out[4]) {
    const BYTE* chosen = table.data[0];
    if (level >= 0 && level <= 2) {
        chosen = table.data[level];
    } else if (table.otherLevels == Table::AsLevel1) {
        chosen = table.data[1];
    } else if (table.otherLevels == Table::LowByte && level > 0) {
        const BYTE lowByte[4] = {static_cast<BYTE>(level & 0xFF), 0, 0, 0};
        std::memcpy(out, lowByte, 4);
        return;
    }
    std::memcpy(out, chosen, 4);
}

// The kernel path of the adapter's key as a sub-key of HKEY_LOCAL_MACHINE, lower case.
std::string MachineSubKey(std::string key) {
    for (char& c : key) {
        if (static_cast<unsigned char>(c) < 0x80) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::string prefix = "\\registry\\machine\\";
    for (size_t found = key.find(prefix); found != std::string::npos; found = key.find(prefix, found)) {
        key.erase(found, prefix.size());
    }
    return key;
}

std::string PrimaryAdapterKey(platform::imports::EnumDisplayDevicesAProc enumDevices) {
    for (DWORD index = 0;; ++index) {
        DISPLAY_DEVICEA device{};
        device.cb = sizeof(device);
        if (!enumDevices(nullptr, index, &device, 0)) return "";
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) {
            const CHAR* end = std::find(device.DeviceKey, std::end(device.DeviceKey), '\0');
            return MachineSubKey(std::string(static_cast<const CHAR*>(device.DeviceKey), end));
        }
    }
}

}  // namespace

GraphicsTuner::GraphicsTuner(OverwriteRecorder* recorder) : recorder_(recorder) {
    if (auto enumDevices = platform::imports::EnumDisplayDevicesA()) adapterKey_ = PrimaryAdapterKey(enumDevices);
}

std::vector<std::string> GraphicsTuner::ValueNames() {
    std::vector<std::string> names;
    for (const Table* table : kAllTables) names.push_back(table->name);
    return names;
}

void GraphicsTuner::ApplyProfile(int profileCode) {
    WriteD3D88481200(profileCode);
    WriteD3D88481200(profileCode);
    WriteD3DOGL74095213(profileCode);
    WriteD3D98764205(profileCode + 2);
    WriteOGLMaxFramesAllowed(profileCode + 2);
    WriteOGLQualityEnhancements(profileCode);
    WriteOGLRenderQualityFlags(profileCode);
    WriteD3D36759435(1);
    WriteOGLUnlockValues(1);
    WriteD3D46205529(1);
}

bool GraphicsTuner::WriteValues(const ValueTable* const* tables, int count, int level) {
    // Without an adapter key the open would address HKEY_LOCAL_MACHINE itself.
    if (adapterKey_.empty()) return false;
    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, adapterKey_, true, false)) return false;
    bool written = true;
    for (int i = 0; i < count; ++i) {
        BYTE data[4];
        PickData(*tables[i], level, data);
        if (recorder_) recorder_->BeforeOverwrite(key, tables[i]->name);
        written = key.SetValue(tables[i]->name, data, sizeof data, REG_BINARY) && written;
    }
    key.Close();
    return written;
}

bool GraphicsTuner::WriteD3D88481200(int level) {
    const ValueTable* tables[] = {&kD3D88481200};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteD3DOGL74095213(int level) {
    const ValueTable* tables[] = {&kD3DOGL74095213};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteOGLRenderQualityFlags(int level) {
    const ValueTable* tables[] = {&kOGLRenderQualityFlags};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteOGLQualityEnhancements(int level) {
    const ValueTable* tables[] = {&kOGLQualityEnhancements};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteD3D98764205(int level) {
    const ValueTable* tables[] = {&kD3D98764205};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteOGLMaxFramesAllowed(int level) {
    const ValueTable* tables[] = {&kOGLMaxFramesAllowed};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteD3D36759435(int level) {
    const ValueTable* tables[] = {&kD3D36759435};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteD3D46205529(int level) {
    const ValueTable* tables[] = {&kD3D46205529};
    return WriteValues(tables, 1, level);
}

bool GraphicsTuner::WriteOGLUnlockValues(int level) {
    const ValueTable* tables[] = {&kOGL563A95F1, &kOGL01887890, &kOGL1190801a};
    return WriteValues(tables, 3, level);
}
