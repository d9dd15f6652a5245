// Reading scan log lines (writing is checked by the recorder's round trip).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/scanlog/ScanLog.h"

TEST(ScanLogReading, ScanLinesCarryTimeAndRangesAndCommentsAreSkipped) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case { const char* text; int64_t t; std::vector<double> ranges; };
  // nan stands in as -1 (it equals nothing); sixteen digits no longer fit a
  // double exactly: rounded to even.
  for (const Case& c : {Case{"1500 3000 2999.5 nan inf -inf -12 +7 1e3", 1500, {3000, 2999.5, -1, inf, -inf, -12, 7, 1000}},
                        Case{"  7\t1\t 2 \r", 7, {1, 2}},
                        Case{"9223372036854775807", std::numeric_limits<int64_t>::max(), {}},
                        Case{"5 00042 123456789012345 9007199254740993 -0 4.", 5,
                             {42, 123456789012345.0, 9007199254740992.0, 0, 4}}}) {
    ScanLine line = parseScanLine(c.text);
    ASSERT_EQ(ScanLine::kScan, line.kind) << c.text;
    EXPECT_EQ(c.t, line.scan.t_ms) << c.text;
    for (double& range : line.scan.ranges) range = std::isnan(range) ? -1 : range;
    EXPECT_EQ(c.ranges, line.scan.ranges) << c.text;
  }
  EXPECT_TRUE(std::signbit(parseScanLine("1 -0").scan.ranges[0]));
  for (const char* text : {"", "\t\r", "# recorded 2024", "  # 12 34"})
    EXPECT_EQ(ScanLine::kSkip, parseScanLine(text).kind) << '"' << text << '"';
}

TEST(ScanLogReading, MalformedLinesSayWhatIsWrong) {
  for (const char* text : {"abc 1 2", "1.5 3000", "-5 3000", "+5 3000", "1e3 3000", "9223372036854775808 1", "nan 1",
                           "100 3000 x 4", "100 3000 3,5", "100 3000 12mm", "100 3000 +", "100 3000 0x10"}) {
    const ScanLine line = parseScanLine(text);
    EXPECT_EQ(ScanLine::kMalformed, line.kind) << text;
    EXPECT_NE(std::string::npos, line.error.find(text[0] == '1' && text[1] == '0' ? "range 1" : "time stamp"))
        << text << ": " << line.error;
  }
}


TEST(ScanLogReading, LongLinesOfWholeMillimetresAndOddTokensAmongThem) {
  // Long enough that tokens start in every 64-byte stretch and straddle
  // their ends; blanks of each kind; other numbers mixed in or not.
  const char* separators[] = {" ", "\t", "  ", " \r "};
  for (const char* odd : {"", "2999.5", "123456789"}) {
    std::string text = "42";
    std::vector<double> expected;
    for (int k = 0; k < 120; ++k) {
      const std::string token = k == 50 && *odd ? odd : std::to_string(k * 811 % 100003);
      text += separators[k % 4] + token;
      expected.push_back(std::stod(token));
    }
    EXPECT_EQ(expected, parseScanLine(text).scan.ranges) << odd;
    const std::string half = text.substr(0, text.size() / 2);
    EXPECT_EQ(ScanLine::kMalformed, parseScanLine(half + "7x " + text.substr(half.size())).kind);
  }
}
