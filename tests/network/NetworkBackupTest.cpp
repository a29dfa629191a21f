#include <gtest/gtest.h>

#include <string>

#include "network/NetworkTuner.h"
#include "sim/Machine.h"

namespace {

TEST(NetworkBackupPath, KoreanTimeStampedNameUnderRestoreNetOpti) {
    sim::Machine machine;
    machine.files.AddDirectory("C:\\Games\\Kestrava\\Restore");
    machine.files.SetLocalTime(win::SYSTEMTIME{2024, 1, 5, 5, 9, 3, 7, 0});

    std::string path = MakeNetworkBackupPath("C:\\Games\\Kestrava\\Restore");
    EXPECT_EQ(path, "C:\\Games\\Kestrava\\Restore\\NetOpti\\2024년1월5일9시3분7초.nbk");
    // The name is stored in code page 949: 년 is B3 E2, 초 is C3 CA.
    EXPECT_NE(path.find("2024\xB3\xE2" "1"), std::string::npos);
    EXPECT_NE(path.find("7\xC3\xCA.nbk"), std::string::npos);
    EXPECT_TRUE(machine.files.IsDirectory("C:\\Games\\Kestrava\\Restore\\NetOpti"));
    EXPECT_FALSE(machine.files.Exists(path));

    // Existing folders are fine; two-digit fields have no leading zeros to drop.
    machine.files.SetLocalTime(win::SYSTEMTIME{2025, 12, 3, 31, 23, 59, 58, 999});
    EXPECT_EQ(MakeNetworkBackupPath("C:\\Games\\Kestrava\\Restore"),
              "C:\\Games\\Kestrava\\Restore\\NetOpti\\2025년12월31일23시59분58초.nbk");
}

}  // namespace
