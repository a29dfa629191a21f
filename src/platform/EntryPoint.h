// Entry points that not every supported Windows exports, looked up by name at run
// time, so that the programs still load where one is missing.
#pragma once

#include "Platform.h"

namespace platform {

// The library's export of that name; nullptr without the library or the export.
template <typename Proc>
Proc EntryPoint(HMODULE library, const char* name) {
    return library ? ProcCast<Proc>(Modules().GetProcAddress(library, name)) : nullptr;
}

// An export of kernel32, which every process has loaded.
template <typename Proc>
Proc KernelEntryPoint(const char* name) {
    return EntryPoint<Proc>(Modules().GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace platform
