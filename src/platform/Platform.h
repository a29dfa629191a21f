// The installed platform: one implementation of each seam interface.
// The win32 backend installs itself at start-up; a simulated machine installs
// its parts while it lives.
#pragma once

#include "Files.h"
#include "Gdi.h"
#include "Kernel.h"
#include "Registry.h"
#include "Services.h"
#include "User.h"

namespace platform {

struct Installed {
    IHandles* handles = nullptr;
    IProcesses* processes = nullptr;
    IPrograms* programs = nullptr;
    IModules* modules = nullptr;
    ISystemInfo* systemInfo = nullptr;
    IMemory* memory = nullptr;
    ISync* sync = nullptr;
    IRegistry* registry = nullptr;
    IServices* services = nullptr;
    IUser* user = nullptr;
    IGdi* gdi = nullptr;
    IFiles* files = nullptr;
};

Installed& Current();

// Each accessor aborts with the area's name when nothing is installed for it.
IHandles& Handles();
IProcesses& Processes();
IPrograms& Programs();
IModules& Modules();
ISystemInfo& SystemInfo();
IMemory& Memory();
ISync& Sync();
IRegistry& Registry();
IServices& Services();
IUser& User();
IGdi& Gdi();
IFiles& Files();

}  // namespace platform
