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

    HANDLE Add(std::shared_ptr<HandleObject> object);
    std::shared_ptr<HandleObject> Find(HANDLE handle) const;
    template <typename T>
    std::shared_ptr<T> Get(HANDLE handle) const {
        return std::dynamic_pointer_cast<T>(Find(handle));
    }
    // Handles that are still open, for leak checks in tests.
    size_t OpenCount() const;

    BOOL CloseHandle(HANDLE handle) override;
    DWORD GetLastError() override;
    void SetLastError(DWORD error) override;

private:
    mutable std::mutex mutex_;
    std::map<uintptr_t, std::shared_ptr<HandleObject>> objects_;
    uintptr_t next_ = 0x1000;
};

}  // namespace sim
