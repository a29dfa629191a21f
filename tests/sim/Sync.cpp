#include "sim/Sync.h"

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

struct MutexHandle : HandleObject {
    std::shared_ptr<Sync::Mutex> mutex;
};

}  // namespace

Sync::Sync(Machine& machine) : machine_(machine) { platform::Current().sync = this; }

Sync::~Sync() { platform::Current().sync = nullptr; }

bool Sync::Exists(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = named_.find(name);
    return it != named_.end() && !it->second.expired();
}

// An existing name gives a new handle to its mutex, without ownership, and ERROR_ALREADY_EXISTS.
HANDLE Sync::CreateMutexA(SECURITY_ATTRIBUTES*, BOOL initialOwner, const char* name) {
    auto handle = std::make_shared<MutexHandle>();
    DWORD error = ERROR_SUCCESS;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (name != nullptr) handle->mutex = named_[name].lock();
        if (handle->mutex != nullptr) {
            error = ERROR_ALREADY_EXISTS;
        } else {
            handle->mutex = std::make_shared<Mutex>();
            if (initialOwner) {
                handle->mutex->owner = std::this_thread::get_id();
                handle->mutex->ownership = 1;
            }
            if (name != nullptr) named_[name] = handle->mutex;
        }
    }
    HANDLE result = machine_.handles.Add(handle);
    platform::Handles().SetLastError(error);
    return result;
}

BOOL Sync::ReleaseMutex(HANDLE mutex) {
    auto handle = machine_.handles.Get<MutexHandle>(mutex);
    if (handle == nullptr) {
        platform::Handles().SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    Mutex& state = *handle->mutex;
    if (state.ownership == 0 || state.owner != std::this_thread::get_id()) {
        platform::Handles().SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    if (--state.ownership == 0) state.owner = std::thread::id();
    return TRUE;
}

}  // namespace sim
