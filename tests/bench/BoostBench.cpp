// One boost of the real programs under Wine, measured from outside. tools/bench.sh starts
// Vornel.exe (with the test ping as the system's, logging its runs) and this harness, which
// hooks the bench spy into Vornel's user-interface thread, clicks the boost button, leaves the
// running window idle, closes it, waits 10 s for a game with the option that makes the boost
// follow the game, and then reads the stages from the spy's records.
//   boost_bench VORNEL_UNIX_PID IDLE_CHILD_UNIX_PID PING_LOG DEBUG_LOG [RECORDS_FILE]
// Prints the table rows (BenchTable.h) and where the program's own time goes; the records
// go to RECORDS_FILE when given.
// The seam's names come before the Windows headers (BoostReport.h), whose macros clash with them.
#include "drainex/ReleaseMessages.h"
#include "network/ProbeMessages.h"
#include "resources/ResourceIds.h"

#include "BoostReport.h"

#include <cctype>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::SpyKind;
using bench::SpyRecord;

constexpr DWORD kBoostLimitMs = 240000;
constexpr DWORD kUndoLimitMs = 120000;  // resuming and showing every program of a busy desktop
constexpr DWORD kIdleMs = 10000;
constexpr int kCalibrationMessages = 5000;
const char kMainTitle[] = "Kestrava";
const char kBoostTitle[] = "Kestrava가 적용 되었습니다...";

HWND WaitForWindow(const char* title, DWORD limitMs) {
    for (DWORD waited = 0; waited <= limitMs; waited += 5) {
        HWND window = FindWindowA(nullptr, title);
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(5);
    }
    return nullptr;
}

int NumberIn(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) return std::atoi(text.c_str() + i);
    }
    return -1;
}

std::string ItemText(HWND window, int id) {
    char text[256] = {0};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

bool Is(const SpyRecord& record, SpyKind kind, UINT message, HWND window) {
    return record.kind == kind && record.message == message && record.window == reinterpret_cast<uint64_t>(window);
}

// The spy library, its hook procedures and the section it writes.
class Spy {
public:
    bool Open() {
        section_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(bench::SpyShared),
                                      bench::kSpySection);
        if (section_ == nullptr) return false;
        shared = static_cast<bench::SpyShared*>(MapViewOfFile(section_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        library_ = LoadLibraryA("bench_spy.dll");
        if (shared == nullptr || library_ == nullptr) return false;
        retrieved_ = bench::FunctionCast<HOOKPROC>(GetProcAddress(library_, "SpyRetrievedMessage"));
        return retrieved_ != nullptr;
    }

    bool Hook(DWORD thread) {
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, retrieved_, library_, thread);
        return hook_ != nullptr;
    }

    void Unhook() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }

    std::vector<SpyRecord> Records() const {
        const LONG count = shared->count < bench::kSpyCapacity ? shared->count : bench::kSpyCapacity;
        return std::vector<SpyRecord>(shared->records, shared->records + count);
    }

    // Waits until a record matches; false after limitMs.
    bool WaitFor(const std::function<bool(const SpyRecord&)>& matches, DWORD limitMs) const {
        LONG seen = 0;
        for (DWORD waited = 0; waited <= limitMs; waited += 5) {
            const LONG count = shared->count < bench::kSpyCapacity ? shared->count : bench::kSpyCapacity;
            for (; seen < count; ++seen) {
                if (matches(shared->records[seen])) return true;
            }
            Sleep(5);
        }
        return false;
    }

    bench::SpyShared* shared = nullptr;

private:
    HANDLE section_ = nullptr;
    HMODULE library_ = nullptr;
    HOOKPROC retrieved_ = nullptr;
    HHOOK hook_ = nullptr;
};

// What the spy costs the hooked thread per message taken from its queue: messages posted
// to a window of this thread and dispatched, timed without and with the spy (its hook and
// its wrapped window procedure).
double MessageCostMs(Spy& spy) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KestravaBenchCalibration";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    auto timeMessages = [window] {
        const int64_t start = bench::Now();
        for (int i = 0; i < kCalibrationMessages; ++i) {
            PostMessageA(window, WM_USER, 0, 0);
            MSG message;
            GetMessageA(&message, nullptr, 0, 0);
            DispatchMessageA(&message);
        }
        return bench::Ms(start, bench::Now());
    };
    const double plain = timeMessages();
    spy.shared->targetProcess = GetCurrentProcessId();
    spy.shared->givenWindows[0] = reinterpret_cast<uint64_t>(window);
    spy.Hook(GetCurrentThreadId());
    const double hooked = timeMessages();
    spy.Unhook();
    DestroyWindow(window);
    spy.shared->targetProcess = 0;
    spy.shared->givenWindows[0] = 0;
    spy.shared->watching = 0;
    spy.shared->count = 0;
    const double cost = (hooked - plain) / kCalibrationMessages;
    return cost > 0 ? cost : 0;
}

int Fail(const char* what) {
    std::printf("boost bench: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return Fail("usage: boost_bench VORNEL_UNIX_PID IDLE_CHILD_UNIX_PID PING_LOG DEBUG_LOG [RECORDS_FILE]");
    const DWORD vornelUnixPid = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    const DWORD childUnixPid = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    bench::BoostObservation boost;

    Spy spy;
    if (!spy.Open()) return Fail("the spy library or its section cannot be had");
    const double messageCostMs = MessageCostMs(spy);

    boost.main = WaitForWindow(kMainTitle, 60000);
    if (boost.main == nullptr) return Fail("no main window");
    boost.bar = GetDlgItem(boost.main, resources::IDC_PROGRESS);
    DWORD vornel = 0;
    const DWORD thread = GetWindowThreadProcessId(boost.main, &vornel);
    spy.shared->targetProcess = vornel;
    spy.shared->unixPid = vornelUnixPid;
    spy.shared->sampledMessages[0] = WM_RELEASE_BEGIN;
    spy.shared->sampledMessages[1] = WM_RELEASE_END;
    spy.shared->givenWindows[0] = reinterpret_cast<uint64_t>(boost.main);
    spy.shared->givenWindows[1] = reinterpret_cast<uint64_t>(boost.bar);
    if (!spy.Hook(thread)) return Fail("the hook cannot be set");
    PostMessageA(boost.main, WM_NULL, 0, 0);  // loads the spy into Vornel
    for (int waited = 0; waited < 10000 && spy.shared->watching == 0; waited += 10) Sleep(10);
    if (spy.shared->watching == 0) return Fail("the spy did not start in Vornel");
    if (spy.shared->patchedImports == 0) return Fail("the spy found no process start or snapshot to stamp");

    PostMessageA(GetDlgItem(boost.main, resources::IDC_BOOST), BM_CLICK, 0, 0);
    boost.running = WaitForWindow(kBoostTitle, kBoostLimitMs);
    if (boost.running == nullptr) return Fail("no running window");
    if (!spy.WaitFor([&](const SpyRecord& r) { return Is(r, SpyKind::Returned, WM_PAINT, boost.running); }, 10000)) {
        return Fail("the running window was not painted");
    }
    boost.processesActedOn = NumberIn(ItemText(boost.running, resources::IDC_PROCESS_ANCHOR));

    Sleep(200);
    boost.idleFrom = spy.shared->count;
    const int64_t idleStart = bench::Now();
    const int64_t vornelBefore = bench::UnixCpuTicks(vornelUnixPid);
    const int64_t childBefore = bench::UnixCpuTicks(childUnixPid);
    Sleep(kIdleMs);
    boost.idleVornelTicks = bench::UnixCpuTicks(vornelUnixPid) - vornelBefore;
    boost.idleChildTicks = bench::UnixCpuTicks(childUnixPid) - childBefore;
    boost.idleMs = bench::Ms(idleStart, bench::Now());
    boost.idleTo = spy.shared->count;

    PostMessageA(GetDlgItem(boost.running, resources::IDC_CLOSE), BM_CLICK, 0, 0);
    const bool ended = spy.WaitFor(
        [&](const SpyRecord& r) {
            return Is(r, SpyKind::Returned, WM_COMMAND, boost.main) && LOWORD(r.wParam) == resources::IDC_BOOST;
        },
        kUndoLimitMs);
    spy.Unhook();
    if (spy.shared->count > bench::kSpyCapacity) std::printf("note: the spy's records overflowed\n");
    const std::vector<SpyRecord> records = spy.Records();
    if (argc > 5) bench::WriteRecords(argv[5], records);
    if (!ended) return Fail("the boost did not end after the running window closed");

    // The option that makes the boost follow the game: the boost button then hides the main
    // window behind the notification icon, and Vornel looks for a game every 2 s.
    PostMessageA(GetDlgItem(boost.main, resources::IDC_AUTO_BOOST), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(boost.main, resources::IDC_BOOST), BM_CLICK, 0, 0);
    for (int waited = 0; waited < 10000 && IsWindowVisible(boost.main); waited += 10) Sleep(10);
    if (IsWindowVisible(boost.main)) return Fail("the main window stayed up with the option ticked");
    Sleep(200);
    const int64_t waitingStart = bench::Now();
    const int64_t waitingBefore = bench::UnixCpuTicks(vornelUnixPid);
    Sleep(kIdleMs);
    boost.waitingVornelTicks = bench::UnixCpuTicks(vornelUnixPid) - waitingBefore;
    boost.waitingMs = bench::Ms(waitingStart, bench::Now());
    PostMessageA(boost.main, WM_COMMAND, resources::IDM_EXIT, 0);

    bench::ReportBoost(records, boost, bench::ReadPingLog(argv[3]), bench::CountLogEntries(argv[4]), messageCostMs);
    return 0;
}
