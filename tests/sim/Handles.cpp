#include "sim/Handles.h"

#include "platform/Platform.h"

namespace sim {
namespace {
thread_local DWORD lastError = 0;
}

Handles::Handles(Machine&) { platform::Current().handles = this; }

Handles::~Handles() { platform::Current().handles = nullptr; }

HANDLE Handles::Add(std::shared_ptr<HandleObject> object) {
    std::lock_guard<std::mutex> lock(mutex_);
    uintptr_t value = next_;
    next_ += 4;
    objects_[value] = std::move(object);
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<HandleObject> Handles::Find(HANDLE handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : it->second;
}

size_t Handles::OpenCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return objects_.size();
}

BOOL Handles::CloseHandle(HANDLE handle) {
    std::shared_ptr<HandleObject> closed;  // destroyed outside the lock
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects_.end()) {
        lastError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    closed = std::move(it->second);
    objects_.erase(it);
    return TRUE;
}

DWORD Handles::GetLastError() { return lastError; }

void Handles::SetLastError(DWORD error) { lastError = error; }

}  // namespace sim
