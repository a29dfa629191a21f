#include "drainex/BlockList.h"

#include <cstring>
#include <limits>

#include "platform/Platform.h"

namespace {

// The array of a list with the given capacity, or null when it cannot be had.
win::HLOCAL* AllocateEntries(int64_t capacity) {
    const uint64_t bytes = static_cast<uint64_t>(capacity) * sizeof(win::HLOCAL);
    if (capacity > std::numeric_limits<int32_t>::max() || bytes > std::numeric_limits<win::SIZE_T>::max()) {
        return nullptr;
    }
    return static_cast<win::HLOCAL*>(platform::Memory().LocalAlloc(win::LMEM_FIXED, static_cast<win::SIZE_T>(bytes)));
}

}  // namespace

BlockList::BlockList() : entries_(AllocateEntries(kInitialCapacity)), capacity_(entries_ ? kInitialCapacity : 0) {}

BlockList::~BlockList() {
    if (entries_ != nullptr) platform::Memory().LocalFree(entries_);
}

bool BlockList::Append(win::HLOCAL handle) {
    if (count_ + 1 >= capacity_ && !Grow()) return false;
    entries_[count_++] = handle;
    return true;
}

win::HLOCAL BlockList::At(int32_t index) const {
    return index < 0 || index >= count_ ? nullptr : entries_[index];
}

// An array of ten times the capacity (the initial one if the first could not be had),
// with the entries copied in order.
bool BlockList::Grow() {
    const int64_t capacity = capacity_ == 0 ? kInitialCapacity : static_cast<int64_t>(capacity_) * 10;
    win::HLOCAL* entries = AllocateEntries(capacity);
    if (entries == nullptr) return false;
    if (count_ > 0) std::memcpy(entries, entries_, static_cast<size_t>(count_) * sizeof(win::HLOCAL));
    if (entries_ != nullptr) platform::Memory().LocalFree(entries_);
    entries_ = entries;
    capacity_ = static_cast<int32_t>(capacity);
    return true;
}
