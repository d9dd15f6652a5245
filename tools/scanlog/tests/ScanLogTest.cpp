// Reading scan log lines (writing is checked by the recorder's round trip).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/scanlog/ScanLog.h"

TEST(ScanLogReading, ScanLinesCarryTimeAndRangesAndCommentsAreSkipped) {
  const double inf = std::numeric_limits<double>::infinity();
  ScanLine line = parseScanLine("1500 3000 2999.5 nan inf -inf -12 +7 1e3");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  EXPECT_EQ(1500, line.scan.t_ms);
  ASSERT_EQ(8u, line.scan.ranges.size());
  EXPECT_TRUE(std::isnan(line.scan.ranges[2]));
  line.scan.ranges[2] = 0.0;
  EXPECT_EQ((std::vector<double>{3000.0, 2999.5, 0.0, inf, -inf, -12.0, 7.0, 1000.0}),
            line.scan.ranges);

  line = parseScanLine("  7\t1\t 2 \r");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  EXPECT_EQ(7, line.scan.t_ms);
  EXPECT_EQ((std::vector<double>{1.0, 2.0}), line.scan.ranges);

  line = parseScanLine("9223372036854775807");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  EXPECT_EQ(std::numeric_limits<int64_t>::max(), line.scan.t_ms);
  EXPECT_TRUE(line.scan.ranges.empty());

  for (const char* text : {"", "\t\r", "# recorded 2024", "  # 12 34"})
    EXPECT_EQ(ScanLine::kSkip, parseScanLine(text).kind) << '"' << text << '"';
}

TEST(ScanLogReading, MalformedLinesSayWhatIsWrong) {
  for (const char* text : {"abc 1 2", "1.5 3000", "-5 3000", "+5 3000", "1e3 3000",
                           "9223372036854775808 1", "nan 1"}) {
    const ScanLine line = parseScanLine(text);
    EXPECT_EQ(ScanLine::kMalformed, line.kind) << text;
    EXPECT_NE(std::string::npos, line.error.find("time stamp")) << text;
  }
  for (const char* text : {"100 3000 x 4", "100 3000 3,5", "100 3000 12mm", "100 3000 +",
                           "100 3000 0x10"}) {
    const ScanLine line = parseScanLine(text);
    EXPECT_EQ(ScanLine::kMalformed, line.kind) << text;
    EXPECT_NE(std::string::npos, line.error.find("range 1")) << text << ": " << line.error;
  }
}

TEST(ScanLogReading, WholeMillimetresAndReusedLinesReadAsAFullParseWould) {
  ScanLine line = parseScanLine("5 00042 123456789012345 9007199254740993 0 -0 4.");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  // Sixteen digits no longer fit a double exactly: rounded to even.
  EXPECT_EQ((std::vector<double>{42.0, 123456789012345.0, 9007199254740992.0, 0.0, 0.0, 4.0}),
            line.scan.ranges);
  EXPECT_TRUE(std::signbit(line.scan.ranges[4]));

  // One ScanLine read line after line keeps nothing from the line before.
  const char* lines[] = {"1 10 20 30 40", "2 3000 12mm", "3 7", "# note", "4 1 2"};
  ScanLine reused;
  for (const char* text : lines) {
    const std::string owned(text);
    parseScanLine(owned.data(), owned.data() + owned.size(), reused);
    const ScanLine fresh = parseScanLine(owned);
    EXPECT_EQ(fresh.kind, reused.kind) << text;
    EXPECT_EQ(fresh.error, reused.error) << text;
    if (fresh.kind == ScanLine::kScan) {
      EXPECT_EQ(fresh.scan.t_ms, reused.scan.t_ms) << text;
      EXPECT_EQ(fresh.scan.ranges, reused.scan.ranges) << text;
    }
  }
}
