// The report shown after a settings restore.
#include <gtest/gtest.h>

#include "app/SettingsRestoreOffer.h"

namespace {

TEST(SettingsRestoreReport, CountsTheValuesPutBackAndSaysWhenNetworkValuesApply) {
    EXPECT_EQ(SettingsRestoreReport({19, 0}),
              "설정 19개를 되돌렸습니다. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다.");
    EXPECT_EQ(SettingsRestoreReport({0, 0}),
              "설정 0개를 되돌렸습니다. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다.");
}

TEST(SettingsRestoreReport, NamesTheRefusedRecordLinesOnASecondLine) {
    EXPECT_EQ(SettingsRestoreReport({7, 3}),
              "설정 7개를 되돌렸습니다. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다.\n"
              "손상되었거나 알 수 없는 기록 3줄은 건너뛰었습니다.");
}

}  // namespace
