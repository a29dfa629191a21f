// Where the program keeps what it reads back, and the checks before it is used.
#include <gtest/gtest.h>

#include "restore/StateFolder.h"
#include "sim/Machine.h"

namespace {

using Ace = sim::Files::Ace;
constexpr win::BYTE kInherited = win::OBJECT_INHERIT_ACE | win::CONTAINER_INHERIT_ACE;

TEST(StateFolder, OnTheNtFamilyAFreshFolderIsLeftToAdministratorsAndReadByUsers) {
    sim::Machine machine;
    const StateFolder state = OpenStateFolder("C:\\Games\\Kestrava");
    EXPECT_EQ(state.path, "C:\\ProgramData\\Kestrava");
    EXPECT_EQ(state.refusal, nullptr);
    const sim::Files::Security security = machine.files.SecurityOf(state.path);
    EXPECT_EQ(security.owner, sim::Files::kAdministratorsSid);
    EXPECT_EQ(security.dacl,
              (std::vector<Ace>{{sim::Files::kSystemSid, win::FILE_ALL_ACCESS, kInherited},
                                {sim::Files::kAdministratorsSid, win::FILE_ALL_ACCESS, kInherited},
                                {sim::Files::kUsersSid, win::FILE_GENERIC_READ | win::FILE_GENERIC_EXECUTE, kInherited}}));
    EXPECT_TRUE(security.control & win::SE_DACL_PROTECTED);
    EXPECT_EQ(OpenStateFolder("C:\\Games\\Kestrava").refusal, nullptr);  // found again as it is
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
}

TEST(StateFolder, AFolderAUserMadeOrLinkedOrAFileIsRefused) {
    for (int kind = 0; kind < 3; ++kind) {
        sim::Machine machine;
        const std::string folder = "C:\\ProgramData\\Kestrava";
        if (kind == 0) machine.files.AddDirectory(folder);  // owned by the user who made it
        if (kind == 1) {
            OpenStateFolder("C:\\Games");
            machine.files.MakeLink(folder);
        }
        if (kind == 2) machine.files.WriteFile(folder, "");
        const StateFolder state = OpenStateFolder("C:\\Games");
        EXPECT_EQ(state.path, folder);
        EXPECT_NE(state.refusal, nullptr) << kind;
        EXPECT_EQ(machine.handles.OpenCount(), 0u);
    }
}

// Whoever owns the folder that holds it could replace it anyway: Wine, which keeps no file
// security, reports the user as the owner of both.
TEST(StateFolder, AFolderOwnedLikeTheFolderHoldingItIsUsed) {
    sim::Machine machine;
    machine.files.SetOwner("C:\\ProgramData", sim::Files::kUserSid);
    machine.files.AddDirectory("C:\\ProgramData\\Kestrava");
    EXPECT_EQ(OpenStateFolder("C:\\Games").refusal, nullptr);
}

// Without the shell's look-up (before Windows 2000) the place is unknown; it is never
// taken from the environment or from shell32 anywhere but the system folder.
TEST(StateFolder, WithoutTheShellsFolderLookUpThereIsNone) {
    sim::Machine machine;
    machine.modules.RemoveModule("C:\\WINDOWS\\system32\\shell32.dll");
    machine.modules.AddModule("shell32.dll");
    const StateFolder state = OpenStateFolder("C:\\Games");
    EXPECT_EQ(state.path, "");
    EXPECT_NE(state.refusal, nullptr);
}

TEST(StateFolder, OnThe9xFamilyItStaysBesideTheProgram) {
    sim::Machine machine;
    machine.systemInfo.SetPlatformId(win::VER_PLATFORM_WIN32_WINDOWS);
    const StateFolder state = OpenStateFolder("C:\\Games\\Kestrava");
    EXPECT_EQ(state.path, "C:\\Games\\Kestrava\\Restore");
    EXPECT_EQ(state.refusal, nullptr);
    EXPECT_FALSE(machine.files.Exists("C:\\ProgramData\\Kestrava"));
    EXPECT_EQ(OpenStateFolder("").path, "\\Restore");  // no folder: the root of the current drive
}

}  // namespace
