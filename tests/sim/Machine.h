// A simulated Windows machine for native tests. Constructing one installs its
// parts as the current platform; each test builds its own.
#pragma once

#include "sim/DisplayDevices.h"
#include "sim/Files.h"
#include "sim/Gdi.h"
#include "sim/Handles.h"
#include "sim/Memory.h"
#include "sim/Modules.h"
#include "sim/Processes.h"
#include "sim/Programs.h"
#include "sim/Registry.h"
#include "sim/Services.h"
#include "sim/Shell.h"
#include "sim/Sync.h"
#include "sim/SystemInfo.h"
#include "sim/User.h"

namespace sim {

class Machine {
public:
    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    static Machine& Current();

    // Parts in construction order: handles and modules first, programs last, so that
    // threads still running are joined before any other part goes away.
    Handles handles{*this};
    Modules modules{*this};
    Memory memory{*this};
    Sync sync{*this};
    Gdi gdi{*this};
    SystemInfo systemInfo{*this};
    Files files{*this};
    Shell shell{*this};
    User user{*this};
    Processes processes{*this};
    Services services{*this};
    Registry registry{*this};
    DisplayDevices displayDevices{*this};
    Programs programs{*this};
};

}  // namespace sim
