#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/LibrarySearch.h"
#include "sim/Machine.h"

namespace {

// What the start-up asked of kernel32, in order.
std::vector<std::string> calls;
win::BOOL defaultDirectoriesResult = win::TRUE;

win::BOOL KAPI SetDefaultDllDirectories(win::DWORD flags) {
    calls.push_back("SetDefaultDllDirectories " + std::to_string(flags));
    return defaultDirectoriesResult;
}

win::BOOL KAPI SetDllDirectoryA(const char* path) {
    calls.push_back(path ? "SetDllDirectoryA \"" + std::string(path) + "\"" : "SetDllDirectoryA null");
    return win::TRUE;
}

class LibrarySearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        defaultDirectoriesResult = win::TRUE;
    }
    void ExportNewerCall() {
        machine.modules.Export("kernel32.dll", "SetDefaultDllDirectories", win::ProcCast<win::FARPROC>(&SetDefaultDllDirectories));
    }
    void ExportOlderCall() {
        machine.modules.Export("kernel32.dll", "SetDllDirectoryA", win::ProcCast<win::FARPROC>(&SetDllDirectoryA));
    }

    sim::Machine machine;
};

TEST_F(LibrarySearchTest, SystemFolderOnlyWhereKernelOffersIt) {
    ExportNewerCall();
    ExportOlderCall();
    platform::RestrictLibrarySearch();
    EXPECT_EQ(calls, std::vector<std::string>{"SetDefaultDllDirectories 2048"});  // LOAD_LIBRARY_SEARCH_SYSTEM32
}

TEST_F(LibrarySearchTest, CurrentFolderRemovedWhereOnlyTheOlderCallExists) {
    ExportOlderCall();
    platform::RestrictLibrarySearch();
    EXPECT_EQ(calls, std::vector<std::string>{"SetDllDirectoryA \"\""});
}

TEST_F(LibrarySearchTest, OlderCallStandsInWhenTheNewerOneFails) {
    ExportNewerCall();
    ExportOlderCall();
    defaultDirectoriesResult = win::FALSE;
    platform::RestrictLibrarySearch();
    EXPECT_EQ(calls, (std::vector<std::string>{"SetDefaultDllDirectories 2048", "SetDllDirectoryA \"\""}));
}

TEST_F(LibrarySearchTest, NothingOnSystemsWithoutEither) {
    machine.systemInfo.UseWindows9x();
    platform::RestrictLibrarySearch();
    EXPECT_TRUE(calls.empty());
    machine.modules.RemoveModule("kernel32.dll");
    platform::RestrictLibrarySearch();
    EXPECT_TRUE(calls.empty());
}

}  // namespace
