// Named mutexes, forwarded to kernel32.
#include "platform/win32/Win32.h"

namespace {

class Win32Sync : public platform::ISync {
public:
    win::HANDLE CreateMutexA(win::SECURITY_ATTRIBUTES* attributes, win::BOOL initialOwner, const char* name) override {
        return ::CreateMutexA(reinterpret_cast<::SECURITY_ATTRIBUTES*>(attributes), initialOwner, name);
    }
    win::BOOL ReleaseMutex(win::HANDLE mutex) override { return ::ReleaseMutex(mutex); }
};

Win32Sync mutexes;

struct Install {
    Install() { platform::Current().sync = &mutexes; }
} install;

}  // namespace
