// A simulated Windows machine for native tests. Constructing one installs its
// parts as the current platform; each test builds its own.
#pragma once

#include "platform/sim/DisplayDevices.h"
#include "platform/sim/Files.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/Handles.h"
#include "platform/sim/Memory.h"
#include "platform/sim/Modules.h"
#include "platform/sim/Processes.h"
#include "platform/sim/Programs.h"
#include "platform/sim/Registry.h"
#include "platform/sim/Services.h"
#include "platform/sim/Sync.h"
#include "platform/sim/SystemInfo.h"
#include "platform/sim/User.h"

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
    User user{*this};
    Processes processes{*this};
    Services services{*this};
    Registry registry{*this};
    DisplayDevices displayDevices{*this};
    Programs programs{*this};
};

}  // namespace sim
