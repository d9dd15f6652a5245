#include <gtest/gtest.h>

#include "component/ShortScanWarning.h"

namespace {

TEST(ShortScanWarning, WarnsAtOnceThenAtMostEveryTenSecondsWithTheCount) {
  ShortScanWarning warning;
  EXPECT_EQ(warning.noteIgnoredScan(5000), 1);
  EXPECT_EQ(warning.noteIgnoredScan(5100), 0);
  EXPECT_EQ(warning.noteIgnoredScan(14999), 0);
  // Ten seconds after the last warning: the two silent scans and this one.
  EXPECT_EQ(warning.noteIgnoredScan(15000), 3);
  EXPECT_EQ(warning.noteIgnoredScan(60000), 1);
}

TEST(ShortScanWarning, QuietPeriodSurvivesTheClockWrap) {
  ShortScanWarning warning;
  const int32_t beforeWrap = 2147483647 - 2000;
  EXPECT_EQ(warning.noteIgnoredScan(beforeWrap), 1);
  EXPECT_EQ(warning.noteIgnoredScan(-2147483647 - 1 + 5000), 0);  // 7 s later
  EXPECT_EQ(warning.noteIgnoredScan(-2147483647 - 1 + 8000), 2);  // 10 s later
}

}  // namespace
