#include <gtest/gtest.h>

#include <string>

#include "drainex/DrainexArguments.h"

namespace {

struct Case {
    const char* text;
    int32_t mode;
    int32_t window;
};

TEST(DrainexArguments, ModeAndWindowFollowTheAtoiRule) {
    const Case cases[] = {
        {"2 1234", 2, 1234},
        {"abc 1234", 0, 1234},        // a mode without digits is 0
        {"2 0", 2, 0},
        {"2 xyz", 2, 0},
        {"1 -2147479020", 1, -2147479020},  // handles are signed
        {" 5 123", 0, 5},             // the mode is the text before the first blank
        {"\t+1  77", 1, 77},          // leading white space and sign
        {"2 12ab 99", 2, 12},
        {"99999999999 1", 2147483647, 1},  // beyond 32 bits: clamped
        {"1 -99999999999", 1, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        int32_t mode = -1;
        int32_t window = -1;
        ASSERT_TRUE(ParseReleaseArguments(c.text, mode, window)) << c.text;
        EXPECT_EQ(mode, c.mode) << c.text;
        EXPECT_EQ(window, c.window) << c.text;
    }
}

TEST(DrainexArguments, EmptyBlankLessAndOverlongTextsAreRefused) {
    int32_t mode = 0;
    int32_t window = 0;
    EXPECT_FALSE(ParseReleaseArguments(nullptr, mode, window));
    EXPECT_FALSE(ParseReleaseArguments("", mode, window));
    EXPECT_FALSE(ParseReleaseArguments("2", mode, window));
    EXPECT_FALSE(ParseReleaseArguments("2\t1234", mode, window));

    std::string longest = "2 " + std::string(kMaxArgumentText - 7, '0') + "1234";
    ASSERT_EQ(longest.size(), kMaxArgumentText - 1);
    EXPECT_TRUE(ParseReleaseArguments(longest.c_str(), mode, window));
    EXPECT_EQ(window, 1234);
    EXPECT_FALSE(ParseReleaseArguments((longest + "5").c_str(), mode, window));
}

}  // namespace
