// Kernel object handles of the simulated machine.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

struct HandleObject {
    virtual ~HandleObject() = default;
};

class Machine;

class Handles : public platform::IHandles {
public:
    explicit Handles(Machine& machine);
    ~Handles() override;

    HANDLE Add(std::shared_ptr<HandleObject> object, bool inheritable = false);
    std::shared_ptr<HandleObject> Find(HANDLE handle) const;
    bool Inheritable(HANDLE handle) const;
    size_t InheritableCount() const;
    template <typename T>
    std::shared_ptr<T> Get(HANDLE handle) const {
        return std::dynamic_pointer_cast<T>(Find(handle));
    }
    // Handles that are still open, for leak checks in tests.
    size_t OpenCount() const;

    BOOL CloseHandle(HANDLE handle) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;
    // Within the current process only (the pseudo handle of GetCurrentProcess).
    BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, HANDLE* target, DWORD access,
                         BOOL inherit, DWORD options) override;

    static HANDLE CurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

private:
    struct Entry {
        std::shared_ptr<HandleObject> object;
        bool inheritable = false;
    };
    mutable std::mutex mutex_;
    std::map<uintptr_t, Entry> objects_;
    uintptr_t next_ = 0x1000;
};

}  // namespace sim
