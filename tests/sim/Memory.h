// Heap blocks and the memory status of the simulated machine. Blocks are carved from
// one large reserved region whose pages cost nothing until written, so millions of
// claimed but untouched blocks take no real memory, while blocks that are written
// behave as usual.
#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/Kernel.h"

namespace sim {
using namespace win;

class Machine;

class Memory : public platform::IMemory {
public:
    explicit Memory(Machine& machine);
    ~Memory() override;

    // What GlobalMemoryStatus and GlobalMemoryStatusEx report (the former clamps to 32 bits).
    // By default 512 MiB installed, 256 MiB available, load 50.
    void SetStatus(uint64_t totalBytes, uint64_t availableBytes, DWORD load);
    // Allocations fail (ERROR_NOT_ENOUGH_MEMORY) once the live bytes would pass the budget.
    void SetBudget(uint64_t bytes);
    size_t LiveBlocks() const;
    uint64_t LiveBytes() const;
    // Allocations refused since the machine started.
    size_t FailedAllocations() const;

    HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) override;
    HLOCAL LocalFree(HLOCAL memory) override;
    HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) override;
    HGLOBAL GlobalFree(HGLOBAL memory) override;

    void GlobalMemoryStatus(MEMORYSTATUS* status);
    BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX* status);

private:
    void* Allocate(SIZE_T bytes);
    void* Free(void* memory);

    mutable std::mutex mutex_;
    BYTE* region_ = nullptr;
    size_t used_ = 0;
    std::unordered_map<uintptr_t, SIZE_T> live_;
    uint64_t liveBytes_ = 0;
    uint64_t budget_ = UINT64_MAX;
    size_t failed_ = 0;
    uint64_t totalBytes_ = 512ull << 20;
    uint64_t availableBytes_ = 256ull << 20;
    DWORD load_ = 50;
};

}  // namespace sim
