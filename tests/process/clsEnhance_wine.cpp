// Process control against real child processes and the real kernel32.
#include "platform/win32/Win32.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "process/ExportTable.h"
#include "process/ProcessorMask.h"
#include "process/WineChild.h"
#include "process/clsEnhance.h"

namespace {

using wine_child::Child;

// The suspend count of every thread of a process, read by suspending and resuming it once.
std::vector<DWORD> SuspendCounts(DWORD processId) {
    std::vector<DWORD> counts;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        counts.push_back(SuspendThread(thread));
        ResumeThread(thread);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return counts;
}

TEST(clsEnhanceWine, SuspendStopsEveryThreadOnceAndResumeUndoesIt) {
    Child child("threads 2");
    ASSERT_TRUE(child.Ready());
    clsEnhance enhance;
    ASSERT_TRUE(enhance.SuspendProcess(child.Id()));
    EXPECT_FALSE(child.Responds());
    std::vector<DWORD> counts = SuspendCounts(child.Id());
    EXPECT_GE(counts.size(), 3u);
    EXPECT_EQ(counts, std::vector<DWORD>(counts.size(), 1));

    ASSERT_TRUE(enhance.ResumeProcess(child.Id()));
    counts = SuspendCounts(child.Id());
    EXPECT_EQ(counts, std::vector<DWORD>(counts.size(), 0));
    EXPECT_TRUE(child.Responds());
    EXPECT_FALSE(enhance.SuspendProcess(GetCurrentProcessId()));
}

TEST(clsEnhanceWine, PriorityClassesChangeAndComeBack) {
    Child child("");
    ASSERT_TRUE(child.Ready());
    clsEnhance enhance;
    DWORD original = GetPriorityClass(child.Process());
    EXPECT_EQ(enhance.SetProcessPriorityToLow(child.Id()), original);
    EXPECT_EQ(GetPriorityClass(child.Process()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(enhance.SetProcessPriorityToHigh(child.Id()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(child.Process()), static_cast<DWORD>(REALTIME_PRIORITY_CLASS));
    EXPECT_TRUE(enhance.RestoreProcessPriority(child.Id(), original));
    EXPECT_EQ(GetPriorityClass(child.Process()), original);
}

TEST(clsEnhanceWine, AffinityMovesToTheFirstProcessorAndBack) {
    Child child("");
    ASSERT_TRUE(child.Ready());
    DWORD_PTR before = 0;
    DWORD_PTR system = 0;
    ASSERT_TRUE(GetProcessAffinityMask(child.Process(), &before, &system));
    clsEnhance enhance;
    DWORD previous = 0;
    ASSERT_TRUE(enhance.SetProcessAffinity(child.Id(), 1, previous));
    EXPECT_EQ(previous, static_cast<DWORD>(before));
    DWORD_PTR now = 0;
    GetProcessAffinityMask(child.Process(), &now, &system);
    EXPECT_EQ(now, 1u);
    EXPECT_TRUE(enhance.SetProcessAffinity(child.Id(), previous, previous));
    GetProcessAffinityMask(child.Process(), &now, &system);
    EXPECT_EQ(now, before);

    EXPECT_EQ(GetActiveProcessorMask(), static_cast<DWORD>(system));
}

// Wine accepts the trim request without changing the working set, so only the request is checked.
TEST(clsEnhanceWine, SwapoutIsAcceptedForAChild) {
    Child child("");
    ASSERT_TRUE(child.Ready());
    clsEnhance enhance;
    EXPECT_TRUE(enhance.SwapoutProcessMemory(child.Id()));
    EXPECT_TRUE(enhance.SwapoutProcessMemory(GetCurrentProcessId()));
}

TEST(clsEnhanceWine, HideAndShowRecordTheChildWindow) {
    Child child("");
    Child hidden("hidden");
    ASSERT_TRUE(child.Ready());
    ASSERT_TRUE(hidden.Ready());
    clsEnhance enhance;
    WindowStateList states;

    EXPECT_TRUE(enhance.HideProcessWindow(child.Id(), states));
    EXPECT_FALSE(IsWindowVisible(child.Window()));
    EXPECT_TRUE(enhance.ShowProcessWindow(child.Id(), states));
    EXPECT_TRUE(IsWindowVisible(child.Window()));
    EXPECT_TRUE(enhance.ShowProcessWindow(hidden.Id(), states));
    EXPECT_TRUE(IsWindowVisible(hidden.Window()));

    // Other top-level windows of the children (input method windows) may be listed too.
    std::vector<WORD> flags;
    for (size_t i = 0; i < states.windows.size(); ++i) {
        DWORD owner = 0;
        GetWindowThreadProcessId(static_cast<HWND>(states.windows[i]), &owner);
        EXPECT_TRUE(owner == child.Id() || owner == hidden.Id());
        if (states.windows[i] == child.Window() || states.windows[i] == hidden.Window()) {
            flags.push_back(states.wasVisible[i]);
        }
    }
    EXPECT_EQ(flags, (std::vector<WORD>{1, 0, 0}));
}

TEST(clsEnhanceWine, TerminateEndsTheChildWithExitCodeZero) {
    Child child("");
    ASSERT_TRUE(child.Ready());
    clsEnhance enhance;
    EXPECT_FALSE(enhance.TerminateProcess(GetCurrentProcessId()));
    ASSERT_TRUE(enhance.TerminateProcess(child.Id()));
    ASSERT_EQ(WaitForSingleObject(child.Process(), 5000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.Process(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

// Every named export of kernel32, forwarded ones included, resolves as GetProcAddress does,
// except forwarders into a library whose own name holds a dot (Wine's 32-bit kernel32 sends
// some to "krnl386.exe16"): the forwarder rule ends the library name at the first dot, which
// fits every real Windows kernel32, so those are counted, named and checked to fail cleanly.
TEST(clsEnhanceWine, ExportWalkAgreesWithGetProcAddressOnKernel32) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    auto* image = reinterpret_cast<const BYTE*>(kernel);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(image + entry.VirtualAddress);
    auto* names = reinterpret_cast<const DWORD*>(image + directory->AddressOfNames);
    auto* ordinals = reinterpret_cast<const WORD*>(image + directory->AddressOfNameOrdinals);
    auto* functions = reinterpret_cast<const DWORD*>(image + directory->AddressOfFunctions);
    ASSERT_GT(directory->NumberOfNames, 100u);

    int forwarded = 0;
    std::vector<std::string> dottedLibraryForwarders;
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        const char* name = reinterpret_cast<const char*>(image + names[i]);
        SCOPED_TRACE(name);
        int64_t ordinal = FindExportOrdinal(kernel, name);
        ASSERT_EQ(ordinal, ordinals[i] + int64_t{directory->Base});
        DWORD rva = functions[ordinals[i]];
        bool isForwarder = rva >= entry.VirtualAddress && rva < entry.VirtualAddress + entry.Size;
        forwarded += isForwarder;
        const char* target = reinterpret_cast<const char*>(image + rva);
        if (isForwarder && std::strchr(target, '.') != std::strrchr(target, '.')) {
            dottedLibraryForwarders.push_back(std::string(name) + " -> " + target);
            EXPECT_EQ(GetExportAddress(kernel, ordinal), nullptr);
            continue;
        }
        EXPECT_EQ(static_cast<const void*>(GetExportAddress(kernel, ordinal)),
                  reinterpret_cast<const void*>(GetProcAddress(kernel, name)));
    }
    std::printf("%u named exports compared, %d of them forwarders; %zu left out (library name with a dot)\n",
                static_cast<unsigned>(directory->NumberOfNames - dottedLibraryForwarders.size()), forwarded,
                dottedLibraryForwarders.size());
    for (const std::string& leftOut : dottedLibraryForwarders) std::printf("  left out: %s\n", leftOut.c_str());
#ifdef _WIN64
    EXPECT_TRUE(dottedLibraryForwarders.empty());
#endif
    EXPECT_LT(dottedLibraryForwarders.size(), directory->NumberOfNames / 4);
    EXPECT_GT(forwarded, 0);
    EXPECT_EQ(FindExportOrdinal(kernel, "NoSuchExportAnywhere"), -1);

    int64_t openProcess = FindExportOrdinal(kernel, "OpenProcess");
    DWORD length = GetExportCodeLength(kernel, openProcess);
    EXPECT_GT(length, 0u);
    EXPECT_LT(length, 0x7FFFFFFFu);
}

}  // namespace
