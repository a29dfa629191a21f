// Where the program keeps what it reads back, and the checks before it is used.
#include <gtest/gtest.h>

#include "network/NetworkTuner.h"
#include "restore/RestoreJournal.h"
#include "restore/SettingsRecord.h"
#include "restore/StateFolder.h"
#include "sim/Machine.h"

namespace {

using Ace = sim::Files::Ace;
using namespace win;
constexpr BYTE kInherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
constexpr DWORD kRead = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
const char kFolder[] = "C:\\ProgramData\\Kestrava";
const char kAside[] = "C:\\ProgramData\\Kestrava.refused-1";
const std::vector<BYTE> kOwnerRightsSid = {1, 1, 0, 0, 0, 0, 0, 3, 4, 0, 0, 0};   // S-1-3-4
const std::vector<BYTE> kCreatorOwnerSid = {1, 1, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0};  // S-1-3-0
const std::vector<BYTE> kEveryoneSid = {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};      // S-1-1-0
std::vector<Ace> OwnDacl() {
    return {{sim::Files::kSystemSid, FILE_ALL_ACCESS, kInherited},
            {sim::Files::kAdministratorsSid, FILE_ALL_ACCESS, kInherited},
            {sim::Files::kUsersSid, kRead, kInherited},
            {kOwnerRightsSid, kRead, kInherited}};
}
constexpr WORD kProtected = SE_DACL_PRESENT | SE_DACL_PROTECTED;

TEST(StateFolder, OnTheNtFamilyAFreshFolderIsLeftToAdministratorsAndReadByUsers) {
    sim::Machine machine;
    const StateFolder state = OpenStateFolder("C:\\Games\\Kestrava", true);
    EXPECT_EQ(state.path, kFolder);
    EXPECT_EQ(state.refusal, nullptr);
    EXPECT_EQ(state.movedAside, "");
    const sim::Files::Security security = machine.files.SecurityOf(state.path);
    EXPECT_EQ(security.owner, sim::Files::kAdministratorsSid);
    EXPECT_EQ(security.dacl, OwnDacl());  // the owner, too, may only read
    EXPECT_EQ(security.control & kProtected, kProtected);
    EXPECT_EQ(OpenStateFolder("C:\\Games\\Kestrava", true).movedAside, "");  // found again as it is
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
}

TEST(StateFolder, AFolderAUserMadeOrLinkedOrAFileIsRefused) {
    for (int kind = 0; kind < 3; ++kind) {
        sim::Machine machine;
        if (kind == 0) machine.files.AddDirectory(kFolder);  // owned by the user who made it
        if (kind == 1) {
            OpenStateFolder("C:\\Games", false);
            machine.files.MakeLink(kFolder);
        }
        if (kind == 2) machine.files.WriteFile(kFolder, "");
        const StateFolder state = OpenStateFolder("C:\\Games", false);
        EXPECT_EQ(state.path, kFolder);
        EXPECT_NE(state.refusal, nullptr) << kind;
        EXPECT_EQ(machine.handles.OpenCount(), 0u);
    }
}

// Owned by Administrators, but with a DACL that lets someone else add, delete or re-permit
// what it holds, or lets the folder above decide.
TEST(StateFolder, AFolderOthersMayChangeIsRefused) {
    struct Case {
        Ace extra;
        WORD control;
    };
    const Ace none{sim::Files::kUsersSid, kRead, 0};
    const std::vector<Case> cases = {
        {{sim::Files::kUsersSid, FILE_WRITE_DATA, kInherited}, kProtected},
        {{sim::Files::kUsersSid, FILE_APPEND_DATA, CONTAINER_INHERIT_ACE}, kProtected},
        {{kEveryoneSid, FILE_DELETE_CHILD, 0}, kProtected},
        {{kCreatorOwnerSid, DELETE, kInherited | 0x08 /* inherit only */}, kProtected},
        {{kOwnerRightsSid, WRITE_DAC, kInherited}, kProtected},
        {{sim::Files::kUserSid, WRITE_OWNER, 0}, kProtected},
        {{sim::Files::kUsersSid, GENERIC_WRITE, 0}, kProtected},
        {{kEveryoneSid, GENERIC_ALL, 0}, kProtected},
        {none, SE_DACL_PRESENT},  // unprotected
        {none, 0},                // no DACL at all
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        sim::Machine machine;
        OpenStateFolder("C:\\Games", false);
        std::vector<Ace> dacl = OwnDacl();
        dacl.push_back(cases[i].extra);
        machine.files.SetDacl(kFolder, dacl, cases[i].control);
        EXPECT_NE(OpenStateFolder("C:\\Games", false).refusal, nullptr) << i;
        EXPECT_EQ(machine.handles.OpenCount(), 0u);
    }
}

// Whoever owns the folder that holds it could replace it anyway. Wine, which keeps no file
// security, reports the user as the owner of both and makes every DACL up from the Unix
// mode: unprotected, with the user's full access; other entries still count.
TEST(StateFolder, AFolderOwnedLikeTheFolderHoldingItMayBeLeftToThatOwner) {
    for (const DWORD everyone : {kRead, kRead | FILE_WRITE_DATA}) {
        sim::Machine machine;
        machine.files.SetOwner("C:\\ProgramData", sim::Files::kUserSid);
        machine.files.AddDirectory(kFolder);
        machine.files.SetDacl(kFolder,
                              {{sim::Files::kSystemSid, FILE_ALL_ACCESS, 0},
                               {sim::Files::kUserSid, FILE_ALL_ACCESS, 0},
                               {kEveryoneSid, everyone, 0}},
                              SE_DACL_PRESENT);
        EXPECT_EQ(OpenStateFolder("C:\\Games", false).refusal == nullptr, everyone == kRead);
    }
}

// A refused folder is renamed to the first free name beside it, with what it holds, and a
// fresh one is made and used in its place.
TEST(StateFolder, ARefusedFolderIsMovedAsideAndMadeAfresh) {
    sim::Machine machine;
    OpenStateFolder("C:\\Games", false);
    std::vector<Ace> dacl = OwnDacl();
    dacl.push_back({sim::Files::kUsersSid, FILE_WRITE_DATA | FILE_APPEND_DATA, kInherited});
    machine.files.SetDacl(kFolder, dacl, kProtected);
    machine.files.WriteFile(std::string(kFolder) + "\\BoostJournal.txt", "planted");
    machine.files.AddDirectory(kAside);  // taken already

    const StateFolder state = OpenStateFolder("C:\\Games", true);
    EXPECT_EQ(state.path, kFolder);
    EXPECT_EQ(state.refusal, nullptr);
    EXPECT_EQ(state.movedAside, "C:\\ProgramData\\Kestrava.refused-2");
    EXPECT_NE(state.movedBecause, nullptr);
    EXPECT_EQ(machine.files.Read(state.movedAside + "\\BoostJournal.txt"), "planted");
    EXPECT_FALSE(machine.files.Exists(std::string(kFolder) + "\\BoostJournal.txt"));
    EXPECT_EQ(machine.files.SecurityOf(kFolder).dacl, OwnDacl());
    EXPECT_EQ(machine.files.SecurityOf(kFolder).owner, sim::Files::kAdministratorsSid);
    EXPECT_EQ(machine.handles.OpenCount(), 0u);
}

// Renaming a junction renames the link, and the fresh folder is a real one; a folder that
// cannot be renamed stays refused.
TEST(StateFolder, AJunctionIsMovedAsideAsALinkAndAnImmovableFolderStaysRefused) {
    for (const bool linked : {true, false}) {
        sim::Machine machine;
        machine.files.AddDirectory(kFolder);
        if (linked) {
            machine.files.MakeLink(kFolder);
        } else {
            machine.files.DenyAccess(kFolder);
        }
        const StateFolder state = OpenStateFolder("C:\\Games", true);
        EXPECT_EQ(state.refusal == nullptr, linked);
        EXPECT_EQ(state.movedAside, linked ? kAside : "");
        EXPECT_EQ(machine.files.GetFileAttributesA(kAside),
                  linked ? FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT : INVALID_FILE_ATTRIBUTES);
        if (linked) EXPECT_EQ(machine.files.GetFileAttributesA(kFolder), FILE_ATTRIBUTE_DIRECTORY);
    }
}

// What writes into it makes at most its subfolders, which inherit its permissions; a
// folder made by anything else would get the permissions of the folder above.
TEST(StateFolder, NothingElseMakesIt) {
    sim::Machine machine;
    SettingsRecord record;
    record.Start(SettingsRecordPath(kFolder));
    NetworkTuner tuner;
    tuner.RecordOverwritesWith(&record);
    tuner.ApplyTcpTuning(1472, MakeNetworkBackupPath(kFolder));
    const DWORD game = machine.processes.AddProcess("C:\\Games\\game.exe");
    RestoreJournal(RestoreJournalPath(kFolder)).WriteRecord("game.exe", RestoreRecord{game, 0x08, 0x20, 0});
    EXPECT_FALSE(machine.files.Exists(kFolder));
}

// Without the shell's look-up (before Windows 2000) the place is unknown; it is never
// taken from the environment or from shell32 anywhere but the system folder.
TEST(StateFolder, WithoutTheShellsFolderLookUpThereIsNone) {
    sim::Machine machine;
    machine.modules.RemoveModule("C:\\WINDOWS\\system32\\shell32.dll");
    machine.modules.AddModule("shell32.dll");
    const StateFolder state = OpenStateFolder("C:\\Games", true);
    EXPECT_EQ(state.path, "");
    EXPECT_NE(state.refusal, nullptr);
}

TEST(StateFolder, OnThe9xFamilyItStaysBesideTheProgram) {
    sim::Machine machine;
    machine.systemInfo.SetPlatformId(VER_PLATFORM_WIN32_WINDOWS);
    machine.files.AddDirectory("C:\\Games\\Kestrava");
    const StateFolder state = OpenStateFolder("C:\\Games\\Kestrava", true);
    EXPECT_EQ(state.path, "C:\\Games\\Kestrava\\Restore");
    EXPECT_EQ(state.refusal, nullptr);
    EXPECT_TRUE(machine.files.IsDirectory(state.path));
    EXPECT_FALSE(machine.files.Exists(kFolder));
    EXPECT_EQ(OpenStateFolder("", true).path, "\\Restore");  // no folder: the root of the current drive
}

}  // namespace
