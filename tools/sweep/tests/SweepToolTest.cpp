// strolvex-sweep as a user runs it: each row has the counts strolvex-replay
// ends with; bad grids and logs stop it before anything runs.
#include <gtest/gtest.h>

#include <iterator>

#include "tools/replay/tests/CrossingScene.h"
#include "tools/replay/tests/ToolRun.h"

class SweepTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { writeCrossingsLog(logPath()); }
  static void TearDownTestSuite() {
    for (const char* name : {"crossings.log", "table.csv", "stdout", "stderr"}) std::remove(tempPath(name).c_str());
  }
  static std::string logPath() { return tempPath("crossings.log"); }
};

TEST_F(SweepTool, EachRowHasTheCountsItsReplayEndsWithAndTheBestComesFirst) {
  const std::string csv = tempPath("table.csv");
  const ToolRun sweep = runTool(STROLVEX_SWEEP_BINARY " " + logPath() +
                                " --set Human_NUM=1,3 --set Count_area_distance=2500,4200 --truth 1,1 -j 2 --csv " + csv);
  ASSERT_EQ(0, sweep.status) << sweep.err;
  const std::vector<std::string> table = linesOf(readFile(csv));
  ASSERT_EQ(5u, table.size());
  int previousError = 0;
  for (std::size_t row = 1; row < table.size(); ++row) {
    std::vector<std::string> cells;
    std::istringstream fields(table[row]);
    for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
    ASSERT_EQ(6u, cells.size()) << table[row];
    const ToolRun replay = runTool(STROLVEX_REPLAY_BINARY " -o Category.Strolvex.conf.default.Human_NUM:" + cells[0] +
                                   " -o Category.Strolvex.conf.default.Count_area_distance:" + cells[1] + " " + logPath());
    EXPECT_EQ(countsOf(linesOf(replay.out).back()), cells[2] + "," + cells[3] + ",0") << table[row];
    EXPECT_EQ(cells[4] == "0" ? "1" : "0", cells[5]) << table[row];
    EXPECT_LE(previousError, std::stoi(cells[4])) << "sorted by error";
    previousError = std::stoi(cells[4]);
  }
  // The defaults see one pass each way: the best row on the terminal's table too.
  std::istringstream printed(linesOf(sweep.out).at(1));
  const std::vector<std::string> best{std::istream_iterator<std::string>(printed), std::istream_iterator<std::string>()};
  EXPECT_EQ((std::vector<std::string>{"*", "1", "2500", "1", "1", "0"}), best) << sweep.out;
}

TEST_F(SweepTool, BadGridsAndLogsEndWithStatusTwoBeforeAnythingRuns) {
  const std::string csv = tempPath("table.csv"), toCsv = " --csv " + csv;
  const struct { std::string arguments; const char* message; } cases[] = {
      {logPath() + " --set Human_width=100:50:10" + toCsv, "above TO"},
      {tempPath("no-such.log") + " --set Human_NUM=2" + toCsv, "no-such.log"},
      {::testing::TempDir() + toCsv, "directory"},
      {logPath() + " --csv " + ::testing::TempDir() + "no-such-dir/table.csv", "table.csv"},
  };
  for (const auto& c : cases) {
    std::remove(csv.c_str());
    const ToolRun sweep = runTool(STROLVEX_SWEEP_BINARY " " + c.arguments);
    EXPECT_EQ(2, sweep.status) << c.arguments;
    EXPECT_NE(std::string::npos, sweep.err.find(c.message)) << sweep.err;
    EXPECT_TRUE(sweep.out.empty()) << sweep.out;
    EXPECT_NE(0, access(csv.c_str(), F_OK)) << "no CSV written for " << c.arguments;
  }
}
