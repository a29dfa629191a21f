#include "sim/Memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

// Address space for the blocks of one machine; pages are only backed once written.
constexpr size_t kRegionSize = size_t{64} << 30;
constexpr size_t kAlignment = 16;

void KAPI StatusTrampoline(MEMORYSTATUS* status) { Machine::Current().memory.GlobalMemoryStatus(status); }

BOOL KAPI StatusExTrampoline(MEMORYSTATUSEX* status) { return Machine::Current().memory.GlobalMemoryStatusEx(status); }

}  // namespace

Memory::Memory(Machine& machine) {
    void* region = mmap(nullptr, kRegionSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                        -1, 0);
    if (region != MAP_FAILED) region_ = static_cast<BYTE*>(region);
    machine.modules.Export("kernel32.dll", "GlobalMemoryStatus", ProcCast<FARPROC>(&StatusTrampoline));
    machine.modules.Export("kernel32.dll", "GlobalMemoryStatusEx", ProcCast<FARPROC>(&StatusExTrampoline));
    platform::Current().memory = this;
}

Memory::~Memory() {
    platform::Current().memory = nullptr;
    if (region_ != nullptr) munmap(region_, kRegionSize);
}

void Memory::SetStatus(uint64_t totalBytes, uint64_t availableBytes, DWORD load) {
    std::lock_guard<std::mutex> lock(mutex_);
    totalBytes_ = totalBytes;
    availableBytes_ = availableBytes;
    load_ = load;
}

void Memory::SetBudget(uint64_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    budget_ = bytes;
}

size_t Memory::LiveBlocks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return live_.size();
}

uint64_t Memory::LiveBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return liveBytes_;
}

size_t Memory::FailedAllocations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

// Addresses are never reused, so fresh blocks are always zero-filled.
void* Memory::Allocate(SIZE_T bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    const size_t rounded = (std::max<size_t>(bytes, 1) + kAlignment - 1) / kAlignment * kAlignment;
    if (region_ == nullptr || bytes > budget_ - std::min(budget_, liveBytes_) || rounded > kRegionSize - used_) {
        ++failed_;
        platform::Handles().SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* block = region_ + used_;
    used_ += rounded;
    live_[reinterpret_cast<uintptr_t>(block)] = bytes;
    liveBytes_ += bytes;
    return block;
}

// Null when freed (or null given); the block itself when it is not a live block.
void* Memory::Free(void* memory) {
    if (memory == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = live_.find(reinterpret_cast<uintptr_t>(memory));
    if (it == live_.end()) {
        platform::Handles().SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    liveBytes_ -= it->second;
    live_.erase(it);
    return nullptr;
}

HLOCAL Memory::LocalAlloc(UINT, SIZE_T bytes) { return Allocate(bytes); }

HLOCAL Memory::LocalFree(HLOCAL memory) { return Free(memory); }

HGLOBAL Memory::GlobalAlloc(UINT, SIZE_T bytes) { return Allocate(bytes); }

HGLOBAL Memory::GlobalFree(HGLOBAL memory) { return Free(memory); }

void Memory::GlobalMemoryStatus(MEMORYSTATUS* status) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::memset(status, 0, sizeof(*status));
    status->dwLength = sizeof(*status);
    status->dwMemoryLoad = load_;
    status->dwTotalPhys = static_cast<SIZE_T>(std::min<uint64_t>(totalBytes_, UINT32_MAX));
    status->dwAvailPhys = static_cast<SIZE_T>(std::min<uint64_t>(availableBytes_, UINT32_MAX));
}

BOOL Memory::GlobalMemoryStatusEx(MEMORYSTATUSEX* status) {
    if (status->dwLength != sizeof(*status)) {
        platform::Handles().SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    status->dwMemoryLoad = load_;
    status->ullTotalPhys = totalBytes_;
    status->ullAvailPhys = availableBytes_;
    return TRUE;
}

}  // namespace sim
