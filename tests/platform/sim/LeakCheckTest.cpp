// The machine fixture's teardown fails a test that leaves a GDI object or a device context,
// while what a live window holds is its own.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/MachineTest.h"

namespace {
using namespace win;

class FixtureUnderCheck : public sim::MachineTest {
public:
    void TestBody() override {}
    // The failures the fixture's teardown reports, in order.
    std::vector<std::string> TearDownFailures() {
        testing::TestPartResultArray results;
        {
            testing::ScopedFakeTestPartResultReporter reporter(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            TearDown();
        }
        std::vector<std::string> messages;
        for (int i = 0; i < results.size(); ++i) messages.push_back(results.GetTestPartResult(i).message());
        return messages;
    }
    sim::Machine& Machine() { return machine; }
};

bool Mentions(const std::vector<std::string>& failures, const std::string& text) {
    return failures.size() == 1 && failures[0].find(text) != std::string::npos;
}

TEST(MachineFixtureLeakCheck, FailsOnALeftObjectOrContextAndSparesWhatWindowsHold) {
    {
        FixtureUnderCheck test;
        HGDIOBJ left = test.Machine().gdi.CreateSolidBrush(RGB(1, 2, 3));
        EXPECT_TRUE(Mentions(test.TearDownFailures(), "GDI objects left"));
        test.Machine().gdi.DeleteObject(left);
    }
    {
        FixtureUnderCheck test;
        HDC left = test.Machine().gdi.CreateCompatibleDC(nullptr);
        EXPECT_TRUE(Mentions(test.TearDownFailures(), "device contexts left"));
        test.Machine().gdi.DeleteDC(left);
    }
    {
        FixtureUnderCheck test;
        sim::User& user = test.Machine().user;
        HWND window = user.CreateTopLevelWindow("Static", "", 0, true);
        user.SetWindowRgn(window, test.Machine().gdi.CreateRectRgn(0, 0, 4, 4), TRUE);
        HDC borrowed = user.GetDC(window);  // gives the window its surface
        EXPECT_TRUE(Mentions(test.TearDownFailures(), "device contexts left"));
        user.ReleaseDC(window, borrowed);
        EXPECT_TRUE(test.TearDownFailures().empty());
        user.DestroyWindow(window);
    }
}

}  // namespace
