// Process identity and start-up recovery against real child processes and the real kernel32.
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "process/WineChild.h"
#include "process/clsEnhance.h"
#include "restore/BoostRecovery.h"
#include "restore/JournalLine.h"
#include "restore/ProcessIdentity.h"

namespace {

using wine_child::Child;

TEST(ProcessIdentityWine, NamesTheInstanceByItsStartTimeAndExecutable) {
    ProcessIdentity identity;
    {
        Child child;
        ASSERT_TRUE(child.Ready());
        FILETIME creation{}, exit{}, kernel{}, user{};
        ASSERT_TRUE(GetProcessTimes(child.Process(), &creation, &exit, &kernel, &user));
        identity = RunningProcesses().Identify(child.Id());
        EXPECT_EQ(identity.name, "kestrava_child.exe");
        EXPECT_EQ(identity.creationTime, (static_cast<uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime);
        EXPECT_TRUE(RunningProcesses().Runs(identity));

        ProcessIdentity later = identity;
        later.creationTime += 1;
        EXPECT_FALSE(RunningProcesses().Runs(later));
        ProcessIdentity renamed = identity;
        renamed.name = "other.exe";
        EXPECT_FALSE(RunningProcesses().Runs(renamed));
    }
    EXPECT_FALSE(RunningProcesses().Runs(identity));
}

TEST(BoostRecoveryWine, PutsBackAProcessAndWindowLeftByAnEndedOwner) {
    ProcessIdentity ended;
    {
        Child owner;
        ASSERT_TRUE(owner.Ready());
        ended = RunningProcesses().Identify(owner.Id());
    }
    Child child;
    ASSERT_TRUE(child.Ready());
    // Hidden first: a suspended thread would never answer the hide.
    ShowWindow(child.Window(), SW_HIDE);
    clsEnhance enhance;
    const DWORD previousClass = enhance.SetProcessPriorityToLow(child.Id());
    ASSERT_TRUE(enhance.SuspendProcess(child.Id()));
    const ProcessIdentity identity = RunningProcesses().Identify(child.Id());

    const std::string path = wine_child::ProgramFolder() + "\\BoostJournal-test.txt";
    FILE* file = std::fopen(path.c_str(), "wt");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "%s\n%s\n%s\n%s\n", kJournalVersionLine, OwnerLine(ended).c_str(),
                 RecordLine(identity, RestoreRecord{child.Id(), 0x28, previousClass, 0}).c_str(),
                 WindowLine(identity, child.Window(), 1).c_str());
    std::fclose(file);

    EXPECT_TRUE(RecoverInterruptedBoost(path));
    EXPECT_EQ(child.SuspendCount(), 0u);
    EXPECT_EQ(GetPriorityClass(child.Process()), previousClass);
    EXPECT_TRUE(IsWindowVisible(child.Window()));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
