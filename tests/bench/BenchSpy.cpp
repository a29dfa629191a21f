// The bench spy: a library that the boost harness hooks into Vornel's user-interface thread
// (WH_GETMESSAGE). Windows loads it into Vornel.exe at the next message taken from the
// queue; from then on it stamps, into the harness's section (SpyRecords.h):
//   - every message taken from that thread's queue (the hook);
//   - every call of the watched windows' procedures, on entry and on return, by wrapping
//     those procedures (a wrapper costs a function call, where a message hook on sent
//     messages would cost Wine two server requests per message);
//   - every process snapshot and process start, through Vornel's import slots.
// Vornel's own code is not touched.
#include "SpyRecords.h"

#include <cstring>

namespace {

using bench::SpyKind;

bench::SpyShared* shared = nullptr;

bool Sampled(UINT message) {
    for (UINT sampled : shared->sampledMessages) {
        if (sampled != 0 && sampled == message) return true;
    }
    return false;
}

void Record(SpyKind kind, UINT message, HWND window, WPARAM wParam, LPARAM lParam) {
    if (shared == nullptr || shared->targetProcess != GetCurrentProcessId()) return;
    const int64_t cpu = kind == SpyKind::Called && Sampled(message) ? bench::UnixCpuTicks(shared->unixPid) : -1;
    const LONG index = InterlockedIncrement(&shared->count) - 1;
    if (index >= bench::kSpyCapacity) return;
    shared->records[index] = bench::SpyRecord{bench::Now(), kind, message, reinterpret_cast<uint64_t>(window),
                                              static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam), cpu};
}

// --- Watched windows: their procedures wrapped ---

struct Watched {
    HWND window;
    WNDPROC previous;
    bool unicode;
};
constexpr int kMaxWatched = 64;
Watched watched[kMaxWatched];
int watchedCount = 0;

Watched* FindWatched(HWND window) {
    for (int i = 0; i < watchedCount; ++i) {
        if (watched[i].window == window) return &watched[i];
    }
    return nullptr;
}

LRESULT CALLBACK StampedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Watched* entry = FindWatched(window);
    if (entry == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC previous = entry->previous;
    const bool unicode = entry->unicode;
    Record(SpyKind::Called, message, window, wParam, lParam);
    const LRESULT result = unicode ? CallWindowProcW(previous, window, message, wParam, lParam)
                                   : CallWindowProcA(previous, window, message, wParam, lParam);
    Record(SpyKind::Returned, message, window, wParam, lParam);
    return result;
}

void Watch(HWND window) {
    if (window == nullptr || FindWatched(window) != nullptr || watchedCount == kMaxWatched) return;
    Watched& entry = watched[watchedCount];
    entry.window = window;
    entry.unicode = IsWindowUnicode(window) != FALSE;
    const LONG_PTR procedure = reinterpret_cast<LONG_PTR>(&StampedProcedure);
    entry.previous = reinterpret_cast<WNDPROC>(entry.unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure));
    if (entry.previous != nullptr) ++watchedCount;
}

// --- Import slots of Vornel.exe ---

using SnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using CreateProcessFunction = BOOL(WINAPI*)(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                            LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION);
SnapshotFunction systemSnapshot = nullptr;
CreateProcessFunction systemCreateProcess = nullptr;

HANDLE WINAPI StampedSnapshot(DWORD flags, DWORD processId) {
    Record(SpyKind::Snapshot, flags, nullptr, processId, 0);
    return systemSnapshot(flags, processId);
}

BOOL WINAPI StampedCreateProcess(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                 LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags, LPVOID environment,
                                 LPCSTR directory, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION information) {
    const UINT isPing = commandLine != nullptr && std::strncmp(commandLine, "ping ", 5) == 0;
    Record(SpyKind::ProcessStart, isPing, nullptr, 0, 0);
    const BOOL started = systemCreateProcess(application, commandLine, processAttributes, threadAttributes, inherit,
                                             flags, environment, directory, startup, information);
    Record(SpyKind::ProcessStarted, isPing, nullptr, started && information ? information->dwProcessId : 0, started);
    return started;
}

// Points the main module's import slots that hold original at replacement; the number patched.
int PatchImports(FARPROC original, FARPROC replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (original == nullptr || imports.VirtualAddress == 0) return 0;
    int patched = 0;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk); slot->u1.Function; ++slot) {
            if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(original)) continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            ++patched;
        }
    }
    return patched;
}

void Attach() {
    HANDLE section = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, bench::kSpySection);
    if (section == nullptr) return;
    shared = static_cast<bench::SpyShared*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    CloseHandle(section);  // the view keeps the section
    if (shared == nullptr || shared->targetProcess != GetCurrentProcessId()) return;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    systemSnapshot = bench::FunctionCast<SnapshotFunction>(GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
    systemCreateProcess = bench::FunctionCast<CreateProcessFunction>(GetProcAddress(kernel, "CreateProcessA"));
    const int patched =
        PatchImports(bench::FunctionCast<FARPROC>(systemSnapshot), bench::FunctionCast<FARPROC>(&StampedSnapshot)) +
        PatchImports(bench::FunctionCast<FARPROC>(systemCreateProcess),
                     bench::FunctionCast<FARPROC>(&StampedCreateProcess));
    InterlockedExchange(&shared->patchedImports, patched);
}

bool InTarget() { return shared != nullptr && shared->targetProcess == GetCurrentProcessId(); }

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK SpyRetrievedMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && InTarget()) {
        if (!shared->watching) {
            for (uint64_t window : shared->givenWindows) Watch(reinterpret_cast<HWND>(window));
            InterlockedExchange(&shared->watching, 1);
        }
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (message->hwnd != nullptr) Watch(GetAncestor(message->hwnd, GA_ROOT));
        Record(SpyKind::Retrieved, message->message, message->hwnd, message->wParam, message->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Attach();
    return TRUE;
}

}  // extern "C"
