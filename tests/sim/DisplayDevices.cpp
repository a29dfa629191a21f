#include "sim/DisplayDevices.h"

#include <algorithm>
#include <cstring>

#include "sim/Machine.h"

namespace sim {
namespace {

constexpr DWORD kAttachedToDesktop = 1;

BOOL KAPI EnumDisplayDevicesAEntry(const char* device, DWORD index, DISPLAY_DEVICEA* info, DWORD flags) {
    return Machine::Current().displayDevices.EnumDisplayDevicesA(device, index, info, flags);
}

void CopyText(char* target, size_t capacity, const std::string& text) {
    std::strncpy(target, text.c_str(), capacity - 1);
    target[capacity - 1] = '\0';
}

}  // namespace

DisplayDevices::DisplayDevices(Machine& machine) {
    Add("\\\\.\\DISPLAY1", kAttachedToDesktop | DISPLAY_DEVICE_PRIMARY_DEVICE, kDefaultKey);
    machine.modules.Export("user32.dll", "EnumDisplayDevicesA", ProcCast<FARPROC>(&EnumDisplayDevicesAEntry));
}

void DisplayDevices::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    devices_.clear();
}

void DisplayDevices::Add(const std::string& name, DWORD stateFlags, const std::string& deviceKey) {
    std::lock_guard<std::mutex> lock(mutex_);
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    CopyText(device.DeviceName, sizeof device.DeviceName, name);
    CopyText(device.DeviceString, sizeof device.DeviceString, "Simulated Display Adapter");
    device.StateFlags = stateFlags;
    CopyText(device.DeviceKey, sizeof device.DeviceKey, deviceKey);
    devices_.push_back(device);
}

// Lists adapters only; no monitors are attached to them.
BOOL DisplayDevices::EnumDisplayDevicesA(const char* device, DWORD index, DISPLAY_DEVICEA* info, DWORD) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (device != nullptr || info == nullptr || info->cb < offsetof(DISPLAY_DEVICEA, DeviceID) ||
        index >= devices_.size()) {
        return FALSE;
    }
    const DWORD size = std::min<DWORD>(info->cb, sizeof(DISPLAY_DEVICEA));
    std::memcpy(reinterpret_cast<BYTE*>(info) + sizeof(DWORD),
                reinterpret_cast<const BYTE*>(&devices_[index]) + sizeof(DWORD), size - sizeof(DWORD));
    return TRUE;
}

}  // namespace sim
