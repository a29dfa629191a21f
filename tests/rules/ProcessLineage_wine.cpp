// The system's process information against a tool-help snapshot of the same processes: the
// record layout of this build reads the identifiers, parents and start times Windows wrote.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "process/ProcessCreationTime.h"
#include "rules/ProcessLineage.h"
#include "rules/ProcessSnapshot.h"
// Last: the Windows headers' macros would clash with the seam's names.
#include "platform/win32/Win32.h"
#include "process/WineChild.h"

namespace {

TEST(ProcessLineageWine, AgreesWithToolHelpOnEveryProcess) {
    wine_child::Child child;
    ASSERT_TRUE(child.Ready());
    std::vector<win::PROCESSENTRY32> entries;
    ASSERT_TRUE(WalkProcessSnapshot([&](const win::PROCESSENTRY32& entry) { entries.push_back(entry); }));
    std::vector<ProcessLineage> listed;
    ASSERT_TRUE(ListProcessLineage(listed));

    std::map<win::DWORD, ProcessLineage> byId;
    for (const ProcessLineage& process : listed) byId[process.processId] = process;
    for (const win::PROCESSENTRY32& entry : entries) {
        auto found = byId.find(entry.th32ProcessID);
        // Only a process that ended between the two lists may be missing.
        if (found == byId.end()) {
            EXPECT_EQ(ProcessCreationTime(entry.th32ProcessID), 0u) << entry.szExeFile;
            continue;
        }
        EXPECT_EQ(found->second.parentId, entry.th32ParentProcessID) << entry.szExeFile;
    }
    for (win::DWORD id : {GetCurrentProcessId(), child.Id()}) {
        ASSERT_TRUE(byId.count(id)) << id;
        EXPECT_NE(byId[id].creationTime, 0u);
        EXPECT_EQ(byId[id].creationTime, ProcessCreationTime(id));
    }
    EXPECT_EQ(byId[child.Id()].parentId, GetCurrentProcessId());
}

// The watch reads the whole list only when this size moved.
TEST(ProcessLineageWine, ListSizeIsToldWithoutABufferAndGrowsWithAProgram) {
    const win::DWORD before = ProcessListSize();
    EXPECT_GT(before, 0u);
    wine_child::Child child;
    ASSERT_TRUE(child.Ready());
    EXPECT_GT(ProcessListSize(), before);
}

}  // namespace
