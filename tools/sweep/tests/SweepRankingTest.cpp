// Ranking rows against the true counts, and the CSV a spreadsheet reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/sweep/SweepTable.h"

namespace {

// A row counted IN/OUT, or one that failed (failure set).
SweepRow row(const char* value, int32_t in, int32_t out, const char* failure = nullptr) {
  return SweepRow{{value}, failure == nullptr, in, out, failure == nullptr ? "" : failure};
}

std::string order(const std::vector<RankedRow>& ranked) {
  std::string text;
  for (const RankedRow& entry : ranked) text += entry.row->values[0] + (entry.best ? "*" : "") + " ";
  return text;
}

}  // namespace

TEST(SweepRanking, SortsByErrorTiesInGridOrderFailuresLastAndMarksEveryBest) {
  const std::vector<SweepRow> rows = {row("a", 10, 10), row("b", 0, 0, "x"), row("c", 12, 9),
                                      row("d", 11, 8), row("e", 12, 12), row("f", 8, 9)};
  const TrueCounts truth{12, 10}, tied{11, 9};
  EXPECT_EQ("c* a e d f b ", order(rankRows(rows, &truth)));  // errors a 2, c 1, d 3, e 2, f 5
  EXPECT_EQ("c* d* a f e b ", order(rankRows(rows, &tied)));  // a 2, c 1, d 1, e 4, f 3
  EXPECT_EQ("a b c d e f ", order(rankRows(rows, nullptr))) << "no truth: grid order, no best";
  EXPECT_EQ("b ", order(rankRows({rows[1]}, &truth))) << "nothing counted: nothing is best";
}

TEST(SweepRanking, CsvQuotesWhatNeedsItAndLeavesUncountedCellsEmpty) {
  const std::vector<SweepRow> rows = {row("150", 3, 2), row("250", 0, 0, "no results published: \"scan\", ignored")};
  const TrueCounts truth{3, 1};
  std::FILE* file = std::tmpfile();
  ASSERT_NE(nullptr, file);
  writeCsv(file, {"Human_width"}, rankRows(rows, &truth), true);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  std::fclose(file);
  EXPECT_EQ("Human_width,in,out,error,best,failure\n150,3,2,1,1,\n"
            "250,,,,0,\"no results published: \"\"scan\"\", ignored\"\n", text);
}
