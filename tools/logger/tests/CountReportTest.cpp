// What the logger prints: a count line when (and only when) the counts
// change, a summary, and the replay tool's JSON line form.
#include <gtest/gtest.h>

#include <vector>

#include "tools/logger/CountReport.h"
#include "tools/results/ResultLine.h"

namespace {

// The two members of a port sequence that the JSON form uses.
struct Values {
  std::vector<int> items;
  unsigned length() const { return static_cast<unsigned>(items.size()); }
  int operator[](unsigned k) const { return items[k]; }
};

}  // namespace

TEST(CountReport, PrintsALineOnlyWhenTheCountsChange) {
  CountReport report;
  EXPECT_EQ(report.update(0, 0, 0), "count IN 0 OUT 0 present 0");  // the first sample shows the start
  EXPECT_EQ(report.update(0, 0, 0), "");
  EXPECT_EQ(report.update(0, 0, 1), "count IN 0 OUT 0 present 1");
  EXPECT_EQ(report.update(1, 0, 1), "count IN 1 OUT 0 present 1");
  EXPECT_EQ(report.update(1, 0, 1), "");
  EXPECT_EQ(report.update(1, 2, 0), "count IN 1 OUT 2 present 0");
  EXPECT_EQ(report.summary(), "Strolvex counted IN 1 OUT 2 in 6 samples");
}

TEST(CountReport, SummaryNamesSamplesWithoutThreeCounts) {
  CountReport report;
  report.update(3, 4, 1);
  report.skipMalformed();
  EXPECT_EQ(report.summary(), "Strolvex counted IN 3 OUT 4 in 1 samples (1 samples without three counts)");
  EXPECT_EQ(CountReport().summary(), "Strolvex counted IN 0 OUT 0 in 0 samples");
}

TEST(ResultLine, HasTheReplayToolsKeysInOrderWithoutSpaces) {
  const Values x{{-512, 100000}}, y{{2310, 100000}}, v{{1200, 0}}, h{{-90, 0}}, count{{3, 2, 1}};
  EXPECT_EQ(formatResultLine(12300, x, y, v, h, count),
            "{\"t\":12300,\"x\":[-512,100000],\"y\":[2310,100000],\"v\":[1200,0],\"h\":[-90,0],"
            "\"count\":[3,2,1]}");
  const Values none{{}};
  EXPECT_EQ(formatResultLine(0, none, none, none, none, none),
            "{\"t\":0,\"x\":[],\"y\":[],\"v\":[],\"h\":[],\"count\":[]}");
}
