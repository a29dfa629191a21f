// Entry points looked up by name when called: those of kernel32 and advapi32 that the 9x family
// lacks, so that the programs still load there, and those of system libraries not imported.
#pragma once

#include <string>

#include "platform/win32/Win32.h"

// The export of a library the process has loaded already; nullptr, with the last error
// set to not implemented, where it is missing.
template <typename Proc>
Proc LoadedEntry(const char* library, const char* name) {
    ::HMODULE module = ::GetModuleHandleA(library);
    Proc entry = module ? win::ProcCast<Proc>(::GetProcAddress(module, name)) : nullptr;
    if (entry == nullptr) ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return entry;
}

template <typename Proc>
Proc KernelEntry(const char* name) {
    return LoadedEntry<Proc>("kernel32.dll", name);
}

// Entry points of advapi32 (which the programs import, so it is loaded) that the 9x
// family lacks.
template <typename Proc>
Proc AdvapiEntry(const char* name) {
    return LoadedEntry<Proc>("advapi32.dll", name);
}

// An export of a library of the system folder, which is loaded by its full path: a library
// that is not among those Windows always takes from its own folder would otherwise be looked
// for beside the program first, also where the search cannot be restricted (Windows 9x, XP
// before SP1). The library stays loaded; null without the library or the export.
template <typename Proc>
Proc SystemLibraryEntry(const char* library, const char* name) {
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(folder, length) + "\\" + library;
    ::HMODULE module = ::LoadLibraryA(path.c_str());
    return module ? win::ProcCast<Proc>(::GetProcAddress(module, name)) : nullptr;
}
