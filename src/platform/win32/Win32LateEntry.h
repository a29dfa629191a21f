// Entry points of kernel32 and advapi32 that the 9x family lacks, looked up by name when called, so
// that the programs still load there; a missing one fails the call as not implemented.
#pragma once

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
