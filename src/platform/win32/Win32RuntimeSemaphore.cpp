// The C++ runtime's thread layer (libgcc) makes its semaphores with CreateSemaphoreW,
// which the 9x family has only as a stub that always fails. Its import slot is filled
// here with a call of CreateSemaphoreA instead; the runtime never names a semaphore.
#include "platform/win32/Win32.h"

namespace {

::HANDLE WINAPI CreateUnnamedSemaphore(::LPSECURITY_ATTRIBUTES attributes, ::LONG initialCount, ::LONG maximumCount,
                                       ::LPCWSTR) {
    return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
}

using CreateSemaphoreWProc = decltype(&CreateUnnamedSemaphore);

}  // namespace

#if defined(__i386__)
extern "C" CreateSemaphoreWProc runtimeCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16");
#else
extern "C" CreateSemaphoreWProc runtimeCreateSemaphoreW __asm__("__imp_CreateSemaphoreW");
#endif
CreateSemaphoreWProc runtimeCreateSemaphoreW = CreateUnnamedSemaphore;
