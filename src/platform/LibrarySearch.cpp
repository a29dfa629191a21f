#include "platform/LibrarySearch.h"

#include "platform/EntryPoint.h"

namespace platform {

void RestrictLibrarySearch() {
    auto setDefaultDirectories = KernelEntryPoint<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    if (auto setDirectory = KernelEntryPoint<SetDllDirectoryAProc>("SetDllDirectoryA")) setDirectory("");
}

}  // namespace platform
