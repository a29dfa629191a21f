#include "sim/Handles.h"

#include "platform/Platform.h"

namespace sim {
namespace {
thread_local DWORD lastError = 0;
}

Handles::Handles(Machine&) { platform::Current().handles = this; }

Handles::~Handles() { platform::Current().handles = nullptr; }

HANDLE Handles::Add(std::shared_ptr<HandleObject> object, bool inheritable) {
    std::lock_guard<std::mutex> lock(mutex_);
    uintptr_t value = next_;
    next_ += 4;
    objects_[value] = Entry{std::move(object), inheritable};
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<HandleObject> Handles::Find(HANDLE handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : it->second.object;
}

bool Handles::Inheritable(HANDLE handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it != objects_.end() && it->second.inheritable;
}

size_t Handles::InheritableCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t count = 0;
    for (const auto& entry : objects_) count += entry.second.inheritable;
    return count;
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
    closed = std::move(it->second.object);
    objects_.erase(it);
    return TRUE;
}

BOOL Handles::DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, HANDLE* target, DWORD,
                              BOOL inherit, DWORD options) {
    std::shared_ptr<HandleObject> object = Find(source);
    if (options & DUPLICATE_CLOSE_SOURCE) CloseHandle(source);
    if (!object || sourceProcess != CurrentProcess() || targetProcess != CurrentProcess() || !target) {
        lastError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    *target = Add(std::move(object), inherit != FALSE);
    return TRUE;
}

DWORD Handles::GetLastError() { return lastError; }

void Handles::SetLastError(DWORD error) { lastError = error; }

}  // namespace sim
