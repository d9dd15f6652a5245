// What the logger prints: a count line when (and only when) the counts
// change, and a summary that names unreadable samples.
#include <gtest/gtest.h>

#include "tools/logger/CountReport.h"

TEST(CountReport, PrintsALineOnlyWhenTheCountsChange) {
  CountReport report;
  EXPECT_EQ(report.update(0, 0, 0), "count IN 0 OUT 0 present 0");  // the first sample shows the start
  EXPECT_EQ(report.update(0, 0, 0), "");
  EXPECT_EQ(report.update(0, 0, 1), "count IN 0 OUT 0 present 1");
  EXPECT_EQ(report.update(1, 0, 1), "count IN 1 OUT 0 present 1");
  EXPECT_EQ(report.update(1, 0, 1), "");
  EXPECT_EQ(report.update(1, 2, 0), "count IN 1 OUT 2 present 0");
  EXPECT_EQ(report.summary(), "Strolvex counted IN 1 OUT 2 in 6 samples");
  report.skipMalformed();
  EXPECT_EQ(report.summary(), "Strolvex counted IN 1 OUT 2 in 6 samples (1 samples without three counts)");
  EXPECT_EQ(CountReport().summary(), "Strolvex counted IN 0 OUT 0 in 0 samples");
}
