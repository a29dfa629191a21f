#include "sim/Modules.h"

#include <algorithm>
#include <cctype>

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"

namespace sim {

Modules::Modules(Machine&) {
    for (const char* name : {"kernel32.dll", "user32.dll", "advapi32.dll"}) {
        AddModule(name);
    }
    platform::Current().modules = this;
    platform::ResetRuntimeImports();
}

Modules::~Modules() {
    platform::Current().modules = nullptr;
    platform::ResetRuntimeImports();
}

std::string Modules::Key(const std::string& name) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    if (key.find('.') == std::string::npos) key += ".dll";
    return key;
}

// A changed set of modules or exports is another machine to the program's run-time
// imports: they are looked up afresh.
void Modules::AddModule(const std::string& name, std::vector<BYTE> image) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (image.empty()) image.assign(64, 0);
    Module& module = modules_[Key(name)];
    module.image = std::move(image);
    platform::ResetRuntimeImports();
}

void Modules::RemoveModule(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    modules_.erase(Key(name));
    platform::ResetRuntimeImports();
}

void Modules::Export(const std::string& module, const std::string& name, FARPROC entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    modules_[Key(module)].exports[name] = entry;
    platform::ResetRuntimeImports();
}

void Modules::RemoveExport(const std::string& module, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = modules_.find(Key(module));
    if (it != modules_.end()) it->second.exports.erase(name);
    platform::ResetRuntimeImports();
}

int Modules::LoadCount(const std::string& module) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = modules_.find(Key(module));
    return it == modules_.end() ? 0 : it->second.loadCount;
}

Modules::Module* Modules::FindByHandle(HMODULE handle) {
    for (auto& entry : modules_) {
        if (entry.second.image.data() == handle) return &entry.second;
    }
    return nullptr;
}

HMODULE Modules::LoadLibraryA(const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = name ? modules_.find(Key(name)) : modules_.end();
    if (it == modules_.end()) {
        platform::Handles().SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    ++it->second.loadCount;
    return it->second.image.data();
}

HMODULE Modules::GetModuleHandleA(const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (name == nullptr) {
        static BYTE applicationImage[64];
        return applicationImage;
    }
    auto it = modules_.find(Key(name));
    return it == modules_.end() ? nullptr : it->second.image.data();
}

FARPROC Modules::GetProcAddress(HMODULE handle, const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    Module* module = FindByHandle(handle);
    if (module == nullptr || name == nullptr) return nullptr;
    auto it = module->exports.find(name);
    return it == module->exports.end() ? nullptr : it->second;
}

BOOL Modules::FreeLibrary(HMODULE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    Module* module = FindByHandle(handle);
    if (module == nullptr || module->loadCount == 0) return FALSE;
    --module->loadCount;
    return TRUE;
}

}  // namespace sim
