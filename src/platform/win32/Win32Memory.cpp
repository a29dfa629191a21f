// Heap blocks, forwarded to kernel32.
#include "platform/win32/Win32.h"

namespace {

class Win32Memory : public platform::IMemory {
public:
    win::HLOCAL LocalAlloc(win::UINT flags, win::SIZE_T bytes) override { return ::LocalAlloc(flags, bytes); }
    win::HLOCAL LocalFree(win::HLOCAL memory) override { return ::LocalFree(memory); }
    win::HGLOBAL GlobalAlloc(win::UINT flags, win::SIZE_T bytes) override { return ::GlobalAlloc(flags, bytes); }
    win::HGLOBAL GlobalFree(win::HGLOBAL memory) override { return ::GlobalFree(memory); }
};

Win32Memory memory;

struct Install {
    Install() { platform::Current().memory = &memory; }
} install;

}  // namespace
