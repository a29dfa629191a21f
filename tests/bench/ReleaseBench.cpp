// Drainex's release passes under Wine against a plain LocalAlloc/LocalFree loop of the
// same 1 KiB blocks in the same process: 512 MiB worth of blocks (mode 2 on a machine
// that reports 612 MiB). The passes report to a window of another thread, which only
// returns, as Drainex's messages cross to Vornel's window. The two take turns for five
// rounds; the best round of each counts.
#include "platform/RuntimeImports.h"
#include "../drainex/ReportedMemoryModules.h"
#include "drainex/ReleaseMemory.h"

#include <vector>

#include "BenchClock.h"
#include "BenchTable.h"

namespace {

constexpr win::DWORDLONG kReportedBytes = 612ull << 20;
constexpr int kRounds = 5;

// A window on a thread of its own that answers every message at once.
class Receiver {
public:
    Receiver() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Run, this, 0, &threadId_);
        WaitForSingleObject(ready_, INFINITE);
    }
    ~Receiver() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    HWND window = nullptr;

private:
    static DWORD WINAPI Run(void* context) {
        auto* self = static_cast<Receiver*>(context);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KestravaReleaseBench";
        RegisterClassA(&windowClass);
        self->window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       windowClass.hInstance, nullptr);
        SetEvent(self->ready_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        DestroyWindow(self->window);
        return 0;
    }

    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

// Runs the work once and keeps the shortest time in best.
template <typename Work>
void Time(Work work, double& best) {
    const int64_t start = bench::Now();
    work();
    const double elapsed = bench::Ms(start, bench::Now());
    if (elapsed < best) best = elapsed;
}

}  // namespace

int main() {
    ReportedMemoryModules modules(platform::Modules(), kReportedBytes);
    platform::Current().modules = &modules;
    platform::ResetRuntimeImports();
    Receiver receiver;
    const uint32_t count = ReleaseBlockCount(2, static_cast<int32_t>(kReportedBytes >> 20));
    const uint32_t messages = 2 * ((count + 1023) / 1024) + 3;

    std::vector<HLOCAL> blocks(count);
    double plain = 1e30, passes = 1e30, sends = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        Time([&] {
            for (uint32_t i = 0; i < count; ++i) blocks[i] = LocalAlloc(LMEM_FIXED, kReleaseBlockSize);
            for (uint32_t i = 0; i < count; ++i) LocalFree(blocks[i]);
        }, plain);
        Time([&] { ReleaseMemory(2, reinterpret_cast<win::HWND>(receiver.window)); }, passes);
        Time([&] {
            for (uint32_t i = 0; i < messages; ++i) SendMessageA(receiver.window, WM_USER, 0, 0);
        }, sends);
    }

    const double mib = static_cast<double>(count) * kReleaseBlockSize / (1 << 20);
    bench::Section("Drainex's release passes under Wine, in one process; reference: a plain LocalAlloc/LocalFree loop");
    char figure[96];
    std::snprintf(figure, sizeof figure, "release passes: %u blocks of 1 KiB (%.0f MiB)", count, mib);
    bench::Row(figure, bench::Duration(passes), "plain loop " + bench::Duration(plain), bench::Ratio(passes, plain));
    std::printf("\nrelease passes: %u messages to another thread's window take %.1f ms of the %.1f ms; "
                "%.1f ns a block against %.1f ns in the plain loop\n",
                messages, sends, passes, passes * 1e6 / count, plain * 1e6 / count);
    return 0;
}
