// Entry points of kernel32 that the 9x family lacks, looked up by name when called, so
// that the programs still load there; a missing one fails the call as not implemented.
#pragma once

#include <string>

#include "platform/win32/Win32.h"

template <typename Proc>
Proc KernelEntry(const char* name) {
    ::HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    Proc entry = kernel ? win::ProcCast<Proc>(::GetProcAddress(kernel, name)) : nullptr;
    if (entry == nullptr) ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return entry;
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
