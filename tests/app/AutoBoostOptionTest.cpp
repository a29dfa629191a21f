// The remembered option: only the line the program writes turns it on.
#include <gtest/gtest.h>

#include "app/AutoBoostOption.h"
#include "sim/MachineTest.h"

namespace {

const char kFolder[] = "C:\\ProgramData\\Kestrava";
const char kFile[] = "C:\\ProgramData\\Kestrava\\Options.txt";

class AutoBoostOptionTest : public sim::MachineTest {
protected:
    void SetUp() override { machine.files.AddDirectory(kFolder); }
};

TEST_F(AutoBoostOptionTest, WrittenValuesReadBack) {
    EXPECT_FALSE(ReadAutoBoostOption(kFolder));  // no file on the first start
    ASSERT_TRUE(WriteAutoBoostOption(kFolder, true));
    EXPECT_TRUE(ReadAutoBoostOption(kFolder));
    ASSERT_TRUE(WriteAutoBoostOption(kFolder, false));
    EXPECT_FALSE(ReadAutoBoostOption(kFolder));
    EXPECT_FALSE(WriteAutoBoostOption("", true));
    EXPECT_FALSE(ReadAutoBoostOption(""));
}

TEST_F(AutoBoostOptionTest, AnythingButTheProgramsOwnLineIsOff) {
    for (const char* forged : {"auto boost on", "auto boost on\nauto boost on\n", "AUTO BOOST ON\n",
                               "auto boost on \n", "auto boost onn\n", "1\n", "\xff\xfe" "auto boost on\n"}) {
        machine.files.WriteFile(kFile, forged);
        EXPECT_FALSE(ReadAutoBoostOption(kFolder)) << forged;
    }
    machine.files.WriteFile(kFile, "auto boost on\r\n");  // as the text mode writes it
    EXPECT_TRUE(ReadAutoBoostOption(kFolder));
}

}  // namespace
