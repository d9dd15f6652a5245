// Ranking rows against the true counts, and the CSV a spreadsheet reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/sweep/SweepTable.h"

namespace {

SweepRow counted(const char* value, int32_t in, int32_t out) {
  SweepRow row;
  row.values = {value};
  row.counted = true;
  row.in = in;
  row.out = out;
  return row;
}

SweepRow failed(const char* value, const char* why) {
  SweepRow row;
  row.values = {value};
  row.failure = why;
  return row;
}

std::string order(const std::vector<RankedRow>& ranked) {
  std::string text;
  for (const RankedRow& entry : ranked)
    text += entry.row->values[0] + (entry.best ? "*" : "") + " ";
  return text;
}

}  // namespace

TEST(SweepRanking, SortsByErrorTiesInGridOrderFailuresLastAndMarksEveryBest) {
  const std::vector<SweepRow> rows = {counted("a", 10, 10), failed("b", "x"), counted("c", 12, 9),
                                      counted("d", 11, 8),  counted("e", 12, 12),
                                      counted("f", 8, 9)};
  const TrueCounts truth{12, 10};
  // Errors: a 2, c 1, d 3, e 2, f 5.
  EXPECT_EQ("c* a e d f b ", order(rankRows(rows, &truth)));
  const TrueCounts tied{11, 9};  // a 2, c 1, d 1, e 4, f 3
  EXPECT_EQ("c* d* a f e b ", order(rankRows(rows, &tied)));
  EXPECT_EQ("a b c d e f ", order(rankRows(rows, nullptr))) << "no truth: grid order, no best";
  const std::vector<SweepRow> none = {failed("a", "x")};
  EXPECT_EQ("a ", order(rankRows(none, &truth))) << "nothing counted: nothing is best";
}

TEST(SweepRanking, CsvQuotesWhatNeedsItAndLeavesUncountedCellsEmpty) {
  const std::vector<SweepRow> rows = {counted("150", 3, 2),
                                      failed("250", "no results published: \"scan\", ignored")};
  const TrueCounts truth{3, 1};
  std::FILE* file = std::tmpfile();
  ASSERT_NE(nullptr, file);
  writeCsv(file, {"Human_width"}, rankRows(rows, &truth), true);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  std::fclose(file);
  EXPECT_EQ("Human_width,in,out,error,best,failure\n"
            "150,3,2,1,1,\n"
            "250,,,,0,\"no results published: \"\"scan\"\", ignored\"\n",
            text);
}
