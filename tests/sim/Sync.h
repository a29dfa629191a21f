// Named mutexes of the simulated machine: one name space for every program, a name
// taken while any handle to its mutex is open.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

class Machine;

class Sync : public platform::ISync {
public:
    explicit Sync(Machine& machine);
    ~Sync() override;

    // True while a handle to the named mutex is open.
    bool Exists(const std::string& name) const;

    HANDLE CreateMutexA(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, const char* name) override;
    BOOL ReleaseMutex(HANDLE mutex) override;

    struct Mutex {
        std::thread::id owner;
        int ownership = 0;
    };

private:
    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<std::string, std::weak_ptr<Mutex>> named_;
};

}  // namespace sim
