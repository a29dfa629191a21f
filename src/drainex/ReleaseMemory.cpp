#include "drainex/ReleaseMemory.h"

#include <algorithm>

#include "drainex/BlockList.h"
#include "drainex/MemoryStatus.h"
#include "drainex/ReleaseMessages.h"
#include "platform/Platform.h"

namespace {

constexpr uint32_t kBlocksPerPosition = 1024;
constexpr uint32_t kKeptKb = 102400;

void Report(win::HWND window, win::UINT message, uint32_t value) {
    platform::User().SendMessageA(window, message, 0, static_cast<win::LPARAM>(value));
}

// Claims up to count blocks into blocks, reporting one position per 1024; the number claimed.
uint32_t ClaimBlocks(win::HWND window, uint32_t count, BlockList& blocks) {
    uint32_t claimed = 0;
    for (; claimed < count; ++claimed) {
        win::HLOCAL block = platform::Memory().LocalAlloc(win::LMEM_FIXED, kReleaseBlockSize);
        if (block == nullptr) break;
        if (!blocks.Append(block)) {
            platform::Memory().LocalFree(block);
            break;
        }
        if (claimed % kBlocksPerPosition == 0) Report(window, WM_RELEASE_PROGRESS, claimed / kBlocksPerPosition);
    }
    return claimed;
}

// Frees the claimed blocks; positions continue from half the range.
void FreeBlocks(win::HWND window, uint32_t claimed, uint32_t range, const BlockList& blocks) {
    for (uint32_t j = 0; j < claimed; ++j) {
        platform::Memory().LocalFree(blocks.At(static_cast<int32_t>(j)));
        if (j % kBlocksPerPosition == 0) Report(window, WM_RELEASE_PROGRESS, j / kBlocksPerPosition + (range >> 1));
    }
}

uint64_t BlockCountByMode(int32_t mode, uint64_t totalKb) {
    switch (mode) {
    case 1:
        return totalKb >> 1;
    case 2:
        return totalKb > kKeptKb ? totalKb - kKeptKb : 0;
    default:
        return totalKb >> 2;
    }
}

}  // namespace

uint32_t ReleaseBlockCount(int32_t mode, int32_t totalMb) {
    const uint64_t totalKb = static_cast<uint64_t>(static_cast<uint32_t>(totalMb)) * 1024u;
    return static_cast<uint32_t>(std::min<uint64_t>(BlockCountByMode(mode, totalKb), kMaxReleaseBlocks));
}

bool ReleaseMemory(int32_t mode, win::HWND window) {
    int32_t totalMb = 0;
    int32_t availableMb = 0;
    int32_t freePercent = 0;
    QueryMemoryStatus(totalMb, availableMb, freePercent);
    Report(window, WM_RELEASE_BEGIN, 0);
    const uint32_t count = ReleaseBlockCount(mode, totalMb);
    const uint32_t range = count >> 9;
    Report(window, WM_RELEASE_RANGE, range);
    BlockList blocks;
    const uint32_t claimed = ClaimBlocks(window, count, blocks);
    FreeBlocks(window, claimed, range, blocks);
    Report(window, WM_RELEASE_END, 0);
    return true;
}
