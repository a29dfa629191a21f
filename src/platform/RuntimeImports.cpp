#include "platform/RuntimeImports.h"

#include <atomic>
#include <string>

#include "platform/Platform.h"
#include "platform/SystemFolders.h"

namespace platform {
namespace {

enum Entry {
#define KESTRAVA_ENTRY_INDEX(library, result, name, parameters) k##name,
    KESTRAVA_RUNTIME_IMPORTS(KESTRAVA_ENTRY_INDEX)
#undef KESTRAVA_ENTRY_INDEX
    kEntryCount
};

constexpr int kLibraryCount = static_cast<int>(ImportLibrary::Shell32) + 1;
constexpr const char* kLibraryNames[kLibraryCount] = {"kernel32.dll", "advapi32.dll", "user32.dll",
                                                      "ntdll.dll",    "comctl32.dll", "shell32.dll"};

// A slot is written before it is marked resolved. Threads that resolve the same slot at
// once find the same answer (a library of the system folder then gains a second
// reference, which is kept like the first).
template <typename Value>
struct Slot {
    std::atomic<Value> value{nullptr};
    std::atomic<bool> resolved{false};

    template <typename Find>
    Value Get(Find find) {
        if (!resolved.load(std::memory_order_acquire)) {
            value.store(find(), std::memory_order_relaxed);
            resolved.store(true, std::memory_order_release);
        }
        return value.load(std::memory_order_relaxed);
    }
    void Reset() {
        resolved.store(false, std::memory_order_release);
        value.store(nullptr, std::memory_order_relaxed);
    }
};

Slot<HMODULE> libraries[kLibraryCount];
Slot<FARPROC> entries[kEntryCount];

HMODULE FromSystemFolder(const char* name) {
    const std::string path = InSystemFolder(name);
    return path.empty() ? nullptr : Modules().LoadLibraryA(path.c_str());
}

HMODULE Library(ImportLibrary library) {
    const char* name = kLibraryNames[static_cast<int>(library)];
    return libraries[static_cast<int>(library)].Get([&] {
        return library < ImportLibrary::Comctl32 ? Modules().GetModuleHandleA(name) : FromSystemFolder(name);
    });
}

FARPROC Resolve(Entry entry, ImportLibrary library, const char* name) {
    return entries[entry].Get([&]() -> FARPROC {
        HMODULE module = Library(library);
        return module ? Modules().GetProcAddress(module, name) : nullptr;
    });
}

}  // namespace

#define KESTRAVA_DEFINE_IMPORT(library, result, name, parameters)                              \
    imports::name##Proc imports::name() {                                                      \
        return ProcCast<imports::name##Proc>(Resolve(k##name, ImportLibrary::library, #name)); \
    }
KESTRAVA_RUNTIME_IMPORTS(KESTRAVA_DEFINE_IMPORT)
#undef KESTRAVA_DEFINE_IMPORT

void ResetRuntimeImports() {
    for (auto& library : libraries) library.Reset();
    for (auto& entry : entries) entry.Reset();
}

}  // namespace platform
