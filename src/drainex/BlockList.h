// The handles of the blocks claimed by one release run, in claiming order.
#pragma once

#include <cstdint>

#include "platform/KernelTypes.h"

class BlockList {
public:
    static constexpr int32_t kInitialCapacity = 20;

    BlockList();
    virtual ~BlockList();  // frees the array; the blocks themselves are not touched
    BlockList(const BlockList&) = delete;
    BlockList& operator=(const BlockList&) = delete;

    // Appends a handle, null or not. An append that would fill the list first grows it
    // tenfold; false, with the list unchanged, when that growth fails.
    bool Append(win::HLOCAL handle);
    // The entry at index, or null outside 0 .. Count() - 1.
    win::HLOCAL At(int32_t index) const;
    int32_t Count() const { return count_; }
    int32_t Capacity() const { return capacity_; }

private:
    bool Grow();

    win::HLOCAL* entries_;
    int32_t count_ = 0;
    int32_t capacity_;
};
