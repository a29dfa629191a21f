// The display adapters of the simulated machine, listed by EnumDisplayDevicesA
// (exported from user32.dll). By default one primary adapter.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/UserTypes.h"

namespace sim {
using namespace win;

class Machine;

class DisplayDevices {
public:
    static constexpr const char* kDefaultKey =
        "\\Registry\\Machine\\System\\CurrentControlSet\\Control\\Video\\{5F2A1C3E-0B7D-4E21-9A6C-D3B1E8F40721}\\0000";

    explicit DisplayDevices(Machine& machine);

    void Clear();
    void Add(const std::string& name, DWORD stateFlags, const std::string& deviceKey);

    BOOL EnumDisplayDevicesA(const char* device, DWORD index, DISPLAY_DEVICEA* info, DWORD flags);

private:
    std::mutex mutex_;
    std::vector<DISPLAY_DEVICEA> devices_;
};

}  // namespace sim
