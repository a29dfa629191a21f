#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace {

TEST(SimFiles, TextStreamsTranslateLineEndsBothWays) {
    sim::Machine machine;
    auto& files = platform::Files();
    win::CRTFILE out = files.fopen("C:\\log.txt", "at");
    ASSERT_NE(out, nullptr);
    files.fputs("one\ntwo\n", out);
    files.fclose(out);
    EXPECT_EQ(machine.files.Read("c:\\LOG.txt"), "one\r\ntwo\r\n");

    win::CRTFILE in = files.fopen("C:\\log.txt", "rt");
    char line[16];
    ASSERT_NE(files.fgets(line, sizeof line, in), nullptr);
    EXPECT_STREQ(line, "one\n");
    ASSERT_NE(files.fgets(line, sizeof line, in), nullptr);
    EXPECT_STREQ(line, "two\n");
    EXPECT_EQ(files.fgets(line, sizeof line, in), nullptr);
    files.fclose(in);
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

TEST(SimFiles, DirectoriesNeedTheirParent) {
    sim::Machine machine;
    auto& files = platform::Files();
    EXPECT_FALSE(files.CreateDirectoryA("C:\\app\\Restore", nullptr));
    machine.files.AddDirectory("C:\\app");
    EXPECT_TRUE(files.CreateDirectoryA("C:\\app\\Restore", nullptr));
    EXPECT_FALSE(files.CreateDirectoryA("C:\\app\\Restore", nullptr));
    EXPECT_EQ(files.GetFileAttributesA("c:\\APP\\restore"), win::FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(files.fopen("C:\\missing\\x.txt", "at"), nullptr);
}

}  // namespace
