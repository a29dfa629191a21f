// The 9x family's thread opener. Those systems have no OpenThread; kernel32's
// OpenProcess is entered just after it has turned a process id into an object
// address (at its first "mov ecx, 0"), with EAX holding the thread's object address.
#include "platform/Platform.h"
#include "process/ExportTable.h"
#include "process/clsEnhance.h"

using namespace win;

#if defined(__i386__) && defined(_WIN32)

namespace {

struct LegacyCall {
    DWORD access;
    DWORD inherit;
    DWORD threadId;
    DWORD objectAddress;
    const BYTE* site;
};

// Pushes the three OpenProcess arguments and calls the site with EAX preloaded. The
// entered code does not pop what its skipped prologue would have pushed, so the stack
// pointer is put back from the frame afterwards and every other register is clobbered.
HANDLE CallInto(const LegacyCall& call) {
    DWORD result = reinterpret_cast<DWORD>(&call);
    DWORD scratchC = 0;
    DWORD scratchD = 0;
    __asm__ volatile(
        "pushl %%ebp\n\t"
        "movl %%esp, %%ebp\n\t"
        "pushl 8(%%eax)\n\t"
        "pushl 4(%%eax)\n\t"
        "pushl 0(%%eax)\n\t"
        "movl 16(%%eax), %%ecx\n\t"
        "movl 12(%%eax), %%eax\n\t"
        "call *%%ecx\n\t"
        "movl %%ebp, %%esp\n\t"
        "popl %%ebp\n\t"
        : "+a"(result), "+c"(scratchC), "+d"(scratchD)
        :
        : "ebx", "esi", "edi", "memory", "cc");
    return reinterpret_cast<HANDLE>(result);
}

}  // namespace

HANDLE clsEnhance::OpenThreadLegacy(DWORD access, BOOL inherit, DWORD threadId) {
    static const BYTE kLoadZeroIntoEcx[] = {0xB9, 0x00, 0x00, 0x00, 0x00};
    if (IsNotWindows9x()) return nullptr;
    HMODULE kernel = platform::Modules().GetModuleHandleA("Kernel32.dll");
    int64_t ordinal = FindExportOrdinal(kernel, "OpenProcess");
    const BYTE* site = FindBytePattern(GetExportAddress(kernel, ordinal), GetExportCodeLength(kernel, ordinal),
                                       kLoadZeroIntoEcx, sizeof kLoadZeroIntoEcx);
    if (site == nullptr) return nullptr;
    return CallInto({access, static_cast<DWORD>(inherit), threadId, threadId ^ ProcessIdObfuscator, site});
}

#else

// Only 32-bit x86 Windows can enter the 9x kernel this way.
HANDLE clsEnhance::OpenThreadLegacy(DWORD, BOOL, DWORD) { return nullptr; }

#endif
