#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

template <typename T>
T& Require(T* part, const char* area) {
    if (part == nullptr) {
        std::fprintf(stderr, "platform: no %s installed\n", area);
        std::abort();
    }
    return *part;
}

}  // namespace

Installed& Current() {
    static Installed installed;
    return installed;
}

IHandles& Handles() { return Require(Current().handles, "handles"); }
IProcesses& Processes() { return Require(Current().processes, "processes"); }
IPrograms& Programs() { return Require(Current().programs, "programs"); }
IModules& Modules() { return Require(Current().modules, "modules"); }
ISystemInfo& SystemInfo() { return Require(Current().systemInfo, "system information"); }
IMemory& Memory() { return Require(Current().memory, "memory"); }
ISync& Sync() { return Require(Current().sync, "synchronisation"); }
IRegistry& Registry() { return Require(Current().registry, "registry"); }
IServices& Services() { return Require(Current().services, "service manager"); }
IUser& User() { return Require(Current().user, "window manager"); }
IGdi& Gdi() { return Require(Current().gdi, "GDI"); }
IFiles& Files() { return Require(Current().files, "files"); }

}  // namespace platform
