// The run-time imports: a library the programs do not import comes from the system folder
// alone and stays loaded; each installed machine is asked afresh.
#include <gtest/gtest.h>

#include "platform/RuntimeImports.h"
#include "sim/Machine.h"

namespace {

using namespace win;

const char kSystemShell[] = "C:\\WINDOWS\\system32\\shell32.dll";

HRESULT KAPI PlantedFolderPath(HWND, int, HANDLE, DWORD, char*) { return S_OK; }

TEST(RuntimeImports, ALibraryOfTheSystemFolderIsLoadedOnceByItsFullPathAndKept) {
    sim::Machine machine;
    machine.modules.AddModule("shell32.dll");  // found first by bare name
    machine.modules.Export("shell32.dll", "SHGetFolderPathA", ProcCast<FARPROC>(&PlantedFolderPath));
    const auto folderPath = platform::imports::SHGetFolderPathA();
    ASSERT_NE(folderPath, nullptr);
    EXPECT_NE(folderPath, &PlantedFolderPath);
    EXPECT_EQ(platform::imports::SHGetFolderPathA(), folderPath);
    EXPECT_EQ(machine.modules.LoadCount(kSystemShell), 1);
    EXPECT_EQ(machine.modules.LoadCount("shell32.dll"), 0);
}

TEST(RuntimeImports, EachMachineIsAskedAfresh) {
    {
        sim::Machine machine;
        machine.modules.RemoveExport("kernel32.dll", "OpenThread");
        EXPECT_EQ(platform::imports::OpenThread(), nullptr);
    }
    sim::Machine machine;
    EXPECT_NE(platform::imports::OpenThread(), nullptr);
}

}  // namespace
