// The family and the state folder on the real backend: ntdll's RtlGetVersion is found
// through the run-time imports and reports the family Wine is set to, and the state
// folder Wine keeps (without file security) is used as it is.
#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"
#include "platform/WindowsFamily.h"
#include "restore/StateFolder.h"

namespace {

TEST(WindowsFamilyWine, TheKernelReportsTheFamilyGetVersionExReports) {
    const auto kernelVersion = platform::imports::RtlGetVersion();
    ASSERT_NE(kernelVersion, nullptr);
    win::RTL_OSVERSIONINFOW kernel{};
    kernel.dwOSVersionInfoSize = sizeof kernel;
    ASSERT_EQ(kernelVersion(&kernel), 0);
    win::OSVERSIONINFOA reported{};
    reported.dwOSVersionInfoSize = sizeof reported;
    ASSERT_TRUE(platform::SystemInfo().GetVersionExA(&reported));
    EXPECT_EQ(kernel.dwPlatformId, reported.dwPlatformId);
    EXPECT_EQ(platform::IsNtFamily(), reported.dwPlatformId != win::VER_PLATFORM_WIN32_WINDOWS);
}

// Wine names the user as the owner of every file, the all-users application data included,
// and makes each DACL up from the Unix mode: the folder is made, used and found again as it
// is, never moved aside.
TEST(WindowsFamilyWine, TheStateFolderIsUsedAsWineKeepsIt) {
    if (!platform::IsNtFamily()) GTEST_SKIP() << "the 9x family keeps it beside the program";
    for (int start = 0; start < 2; ++start) {
        const StateFolder state = OpenStateFolder("", true);
        EXPECT_NE(state.path, "");
        EXPECT_EQ(state.refusal, nullptr);
        EXPECT_EQ(state.movedAside, "");
    }
}

}  // namespace
