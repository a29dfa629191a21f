#include "platform/LibrarySearch.h"

#include "platform/Platform.h"

namespace platform {
namespace {

template <typename Proc>
Proc KernelEntry(const char* name) {
    HMODULE kernel = Modules().GetModuleHandleA("kernel32.dll");
    return kernel ? ProcCast<Proc>(Modules().GetProcAddress(kernel, name)) : nullptr;
}

}  // namespace

void RestrictLibrarySearch() {
    auto setDefaultDirectories = KernelEntry<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    if (auto setDirectory = KernelEntry<SetDllDirectoryAProc>("SetDllDirectoryA")) setDirectory("");
}

}  // namespace platform
