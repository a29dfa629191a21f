// Entry points of kernel32 that the 9x family lacks, looked up by name when called, so
// that the programs still load there; a missing one fails the call as not implemented.
#pragma once

#include "platform/win32/Win32.h"

template <typename Proc>
Proc KernelEntry(const char* name) {
    ::HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    Proc entry = kernel ? win::ProcCast<Proc>(::GetProcAddress(kernel, name)) : nullptr;
    if (entry == nullptr) ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return entry;
}

// Entry points of advapi32 (which the programs import, so it is loaded) that the 9x
// family lacks; a missing one fails the call as not implemented.
template <typename Proc>
Proc AdvapiEntry(const char* name) {
    ::HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    Proc entry = advapi ? win::ProcCast<Proc>(::GetProcAddress(advapi, name)) : nullptr;
    if (entry == nullptr) ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return entry;
}
