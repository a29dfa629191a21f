#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "network/ProbeSearch.h"

namespace {

using network::ProbeEnd;

// A path that carries payloads up to mtu (none at all for a negative mtu), and a user
// who answers every question with answer.
struct Path {
    explicit Path(int largest, bool yes = true) : mtu(largest), answer(yes) {}

    int mtu;
    bool answer;
    std::vector<int> tried;
    std::vector<int> askedAfter;  // number of attempts made when the user was asked

    network::ProbeOutcome Search() {
        return network::SearchLargestPayload(
            [this](int size) {
                tried.push_back(size);
                return size <= mtu ? 1 : 0;
            },
            [this] {
                askedAfter.push_back(static_cast<int>(tried.size()));
                return answer;
            });
    }
};

TEST(ProbeSearch, FindsTheLargestPayloadOfOrdinaryAndLargePaths) {
    Path ethernet{1472};
    auto outcome = ethernet.Search();
    EXPECT_EQ(outcome.end, ProbeEnd::Found);
    EXPECT_EQ(outcome.size, 1472);
    EXPECT_EQ(ethernet.tried, (std::vector<int>{1500, 1490, 1480, 1470, 1471, 1472, 1473}));
    EXPECT_TRUE(ethernet.askedAfter.empty());

    Path jumbo{1595};
    outcome = jumbo.Search();
    EXPECT_EQ(outcome.end, ProbeEnd::Found);
    EXPECT_EQ(outcome.size, 1595);
    EXPECT_EQ(jumbo.tried, (std::vector<int>{1500, 1600, 1590, 1591, 1592, 1593, 1594, 1595, 1596}));

    // A size just below a step of ten: the climb by one starts right at it.
    Path exact{1400};
    outcome = exact.Search();
    EXPECT_EQ(outcome.size, 1400);
    EXPECT_TRUE(exact.askedAfter.empty());
}

TEST(ProbeSearch, AsksOnceBelow1400AndGoesOnAfterYes) {
    Path narrow{1350};
    auto outcome = narrow.Search();
    EXPECT_EQ(outcome.end, ProbeEnd::Found);
    EXPECT_EQ(outcome.size, 1350);
    // 1500 down to 1400 fail (eleven attempts), then the question comes before 1390 is tried.
    ASSERT_EQ(narrow.askedAfter, std::vector<int>{11});
    EXPECT_EQ(narrow.tried[10], 1400);
    EXPECT_EQ(narrow.tried[11], 1390);
    EXPECT_EQ(narrow.tried.back(), 1351);
    EXPECT_EQ(narrow.tried[narrow.tried.size() - 2], 1350);
}

TEST(ProbeSearch, StopsWhereTheUserSaysNo) {
    Path narrow{1350, false};
    auto outcome = narrow.Search();
    EXPECT_EQ(outcome.end, ProbeEnd::Declined);
    EXPECT_EQ(outcome.size, 1390);
    EXPECT_EQ(narrow.tried.back(), 1400);
}

TEST(ProbeSearch, NoReplyAtAllDescendsBelowZeroAfterOneQuestion) {
    Path dead{-1};
    auto outcome = dead.Search();
    EXPECT_EQ(outcome.end, ProbeEnd::Exhausted);
    EXPECT_EQ(outcome.size, -10);
    EXPECT_EQ(dead.askedAfter.size(), 1u);
    // 1500, then 1490 down to 0 in steps of ten.
    EXPECT_EQ(dead.tried.size(), 151u);
    EXPECT_EQ(dead.tried.back(), 0);
}

TEST(ProbeSearch, AReplyLostInTheClimbEndsWithTheLastReply) {
    std::vector<int> tried;
    auto outcome = network::SearchLargestPayload(
        [&tried](int size) {
            tried.push_back(size);
            return size == 1470 ? 1 : 0;  // 1471 is lost although 1472 would pass
        },
        [] { return true; });
    EXPECT_EQ(outcome.end, ProbeEnd::Found);
    EXPECT_EQ(outcome.size, 1470);
    EXPECT_EQ(tried.back(), 1471);
}

TEST(ProbeSearch, TheClimbEndsAt65500WhenEverySizeReplies) {
    Path unlimited{1 << 30};
    auto outcome = unlimited.Search();
    EXPECT_EQ(outcome.end, ProbeEnd::Found);
    EXPECT_EQ(outcome.size, 65500);
    EXPECT_EQ(*std::max_element(unlimited.tried.begin(), unlimited.tried.end()), 65500);
    EXPECT_EQ(unlimited.tried.back(), 65500);
}

}  // namespace
