// Loaded modules and their exports in the simulated machine. A module handle is
// the address of its image bytes, so code that walks PE headers reads them directly.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

class Machine;

class Modules : public platform::IModules {
public:
    explicit Modules(Machine& machine);
    ~Modules() override;

    // Adds (or replaces) a module; an empty image gets a small zero-filled one.
    void AddModule(const std::string& name, std::vector<BYTE> image = {});
    void RemoveModule(const std::string& name);
    void Export(const std::string& module, const std::string& name, FARPROC entry);
    void RemoveExport(const std::string& module, const std::string& name);
    // Number of LoadLibraryA references not yet released by FreeLibrary.
    int LoadCount(const std::string& module) const;

    HMODULE LoadLibraryA(const char* name) override;
    HMODULE GetModuleHandleA(const char* name) override;
    FARPROC GetProcAddress(HMODULE module, const char* name) override;
    BOOL FreeLibrary(HMODULE module) override;

private:
    struct Module {
        std::vector<BYTE> image;
        std::map<std::string, FARPROC> exports;
        int loadCount = 0;
    };
    static std::string Key(const std::string& name);
    Module* FindByHandle(HMODULE handle);

    mutable std::mutex mutex_;
    std::map<std::string, Module> modules_;
};


}  // namespace sim
