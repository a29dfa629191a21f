#include "platform/LibrarySearch.h"

#include "platform/RuntimeImports.h"

namespace platform {

void RestrictLibrarySearch() {
    auto setDefaultDirectories = imports::SetDefaultDllDirectories();
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    if (auto setDirectory = imports::SetDllDirectoryA()) setDirectory("");
}

}  // namespace platform
