// Reading and writing scan log lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tools/scanlog/ScanLog.h"

namespace {

TEST(ScanLogReading, ScanLinesCarryTimeAndRanges) {
  ScanLine line = parseScanLine("1500 3000 2999.5 nan inf -inf -12 +7 1e3");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  EXPECT_EQ(1500, line.scan.t_ms);
  ASSERT_EQ(8u, line.scan.ranges.size());
  EXPECT_EQ(3000.0, line.scan.ranges[0]);
  EXPECT_EQ(2999.5, line.scan.ranges[1]);
  EXPECT_TRUE(std::isnan(line.scan.ranges[2]));
  EXPECT_EQ(std::numeric_limits<double>::infinity(), line.scan.ranges[3]);
  EXPECT_EQ(-std::numeric_limits<double>::infinity(), line.scan.ranges[4]);
  EXPECT_EQ(-12.0, line.scan.ranges[5]);
  EXPECT_EQ(7.0, line.scan.ranges[6]);
  EXPECT_EQ(1000.0, line.scan.ranges[7]);

  line = parseScanLine("  7\t1\t 2 \r");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  EXPECT_EQ(7, line.scan.t_ms);
  EXPECT_EQ((std::vector<double>{1.0, 2.0}), line.scan.ranges);

  line = parseScanLine("9223372036854775807");
  ASSERT_EQ(ScanLine::kScan, line.kind);
  EXPECT_EQ(std::numeric_limits<int64_t>::max(), line.scan.t_ms);
  EXPECT_TRUE(line.scan.ranges.empty());
}

TEST(ScanLogReading, CommentsAndBlankLinesAreSkipped) {
  for (const char* text : {"", "   ", "\t\r", "# recorded 2024", "  # 12 34"})
    EXPECT_EQ(ScanLine::kSkip, parseScanLine(text).kind) << '"' << text << '"';
}

TEST(ScanLogReading, MalformedLinesSayWhatIsWrong) {
  for (const char* text : {"abc 1 2", "1.5 3000", "-5 3000", "+5 3000", "1e3 3000",
                           "9223372036854775808 1", "nan 1"}) {
    const ScanLine line = parseScanLine(text);
    EXPECT_EQ(ScanLine::kMalformed, line.kind) << text;
    EXPECT_NE(std::string::npos, line.error.find("time stamp")) << text;
  }
  for (const char* text : {"100 3000 x 4", "100 3000 3,5", "100 3000 12mm", "100 3000 --1",
                           "100 3000 +", "100 3000 0x10"}) {
    const ScanLine line = parseScanLine(text);
    EXPECT_EQ(ScanLine::kMalformed, line.kind) << text;
    EXPECT_NE(std::string::npos, line.error.find("range 1")) << text << ": " << line.error;
  }
}

TEST(ScanLogWriting, LinesReadBackExactly) {
  ScanRecord scan;
  scan.t_ms = 1500;
  scan.ranges = {3000.0, 0.1, -12.0, 2999.5, std::numeric_limits<double>::quiet_NaN(),
                 std::numeric_limits<double>::infinity(),
                 -std::numeric_limits<double>::infinity()};
  EXPECT_EQ("1500 3000 0.1 -12 2999.5 nan inf -inf", formatScanLine(scan));

  scan.ranges = {1.0 / 3.0, -0.0, 1e-300, 123456.789, 5e20, std::nextafter(3000.0, 4000.0)};
  const std::string text = formatScanLine(scan);
  const ScanLine line = parseScanLine(text);
  ASSERT_EQ(ScanLine::kScan, line.kind) << text;
  ASSERT_EQ(scan.ranges.size(), line.scan.ranges.size());
  for (std::size_t s = 0; s < scan.ranges.size(); ++s)
    EXPECT_EQ(0, std::memcmp(&scan.ranges[s], &line.scan.ranges[s], sizeof(double)))
        << text;
  EXPECT_NE(std::string::npos, text.find(" 0.3333333333333333 "));
  EXPECT_NE(std::string::npos, text.find(" 123456.789 "));
}

}  // namespace
