// Blocks per second of the release passes (claim and free of 1 KiB blocks with a
// report per 1024) against a plain allocate/free loop of the same blocks. Both use
// real heap memory: 256 MiB worth of blocks, half of a simulated 512 MiB machine.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "drainex/ReleaseMemory.h"
#include "platform/Platform.h"
#include "platform/sim/Machine.h"

namespace {

constexpr uint64_t kTotalBytes = 512ull << 20;
constexpr int kRounds = 3;

// The C runtime's heap behind the memory seam.
class HeapMemory : public platform::IMemory {
public:
    win::HLOCAL LocalAlloc(win::UINT flags, win::SIZE_T bytes) override { return Allocate(flags, bytes); }
    win::HLOCAL LocalFree(win::HLOCAL memory) override { return Free(memory); }
    win::HGLOBAL GlobalAlloc(win::UINT flags, win::SIZE_T bytes) override { return Allocate(flags, bytes); }
    win::HGLOBAL GlobalFree(win::HGLOBAL memory) override { return Free(memory); }

private:
    static void* Allocate(win::UINT flags, win::SIZE_T bytes) {
        return (flags & win::LMEM_ZEROINIT) ? std::calloc(1, bytes) : std::malloc(bytes);
    }
    static void* Free(void* memory) {
        std::free(memory);
        return nullptr;
    }
};

win::LRESULT KAPI IgnoreMessage(win::HWND, win::UINT, win::WPARAM, win::LPARAM) { return 0; }

template <typename Work>
double BestSeconds(Work work) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed.count() < best) best = elapsed.count();
    }
    return best;
}

void Print(const char* name, uint32_t blocks, double seconds) {
    std::printf("%-28s %u blocks in %.3f s: %.2f M blocks/s\n", name, blocks, seconds, blocks / seconds / 1e6);
}

}  // namespace

int main() {
    sim::Machine machine;
    machine.memory.SetStatus(kTotalBytes, kTotalBytes / 2, 50);
    HeapMemory heap;
    platform::Current().memory = &heap;
    win::HWND window = machine.user.CreateTopLevelWindow("KestravaBench", "Kestrava", 1, false, &IgnoreMessage);
    const uint32_t count = ReleaseBlockCount(1, static_cast<int32_t>(kTotalBytes >> 20));

    const double release = BestSeconds([&] { ReleaseMemory(1, window); });
    std::vector<void*> blocks(count);
    const double plain = BestSeconds([&] {
        for (uint32_t i = 0; i < count; ++i) blocks[i] = std::malloc(kReleaseBlockSize);
        for (uint32_t i = 0; i < count; ++i) std::free(blocks[i]);
    });

    Print("release passes:", count, release);
    Print("plain allocate/free loop:", count, plain);
    std::printf("the release passes run at %.0f%% of the plain loop's rate\n", 100.0 * plain / release);
    platform::Current().memory = &machine.memory;
    return 0;
}
