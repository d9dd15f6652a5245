// strolvex-sweep as a user runs it: a small grid over a scene with a known
// outcome gives, row by row, the counts strolvex-replay ends with; bad
// grids and logs stop it before anything runs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/replay/tests/CrossingScene.h"
#include "tools/scanlog/ScanLog.h"

namespace {

std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "sweep_" + std::to_string(getpid()) + "_" + name;
}

std::string readFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun run(const std::string& binary, const std::string& arguments) {
  const std::string out = tempPath("stdout"), err = tempPath("stderr");
  const std::string command = binary + " " + arguments + " >" + out + " 2>" + err + " </dev/null";
  const int raw = std::system(command.c_str());
  return ToolRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

// The IN and OUT of the last result line strolvex-replay prints.
std::string replayedCounts(const std::string& log, const std::string& humanNum,
                           const std::string& area) {
  const ToolRun replay =
      run(STROLVEX_REPLAY_BINARY, "-o Category.Strolvex.conf.default.Human_NUM:" + humanNum +
                                      " -o Category.Strolvex.conf.default.Count_area_distance:" +
                                      area + " " + log);
  EXPECT_EQ(0, replay.status) << replay.err;
  const std::size_t from = replay.out.rfind("\"count\":[") + 9;
  const std::string counts = replay.out.substr(from, replay.out.find(']', from) - from);
  return counts.substr(0, counts.rfind(','));
}

class SweepTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ofstream log(logPath());
    for (int scan = 0; scan < kCrossingScans; ++scan)
      log << formatScanLine(sceneScan(scan, kCrossings)) << '\n';
  }
  static void TearDownTestSuite() {
    for (const char* name : {"crossings.log", "table.csv", "stdout", "stderr"})
      std::remove(tempPath(name).c_str());
  }
  static std::string logPath() { return tempPath("crossings.log"); }
};

}  // namespace

TEST_F(SweepTool, EachRowHasTheCountsItsReplayEndsWithAndTheBestComesFirst) {
  const std::string csv = tempPath("table.csv");
  const ToolRun sweep = run(STROLVEX_SWEEP_BINARY,
                            logPath() + " --set Human_NUM=1,3 --set Count_area_distance=2500,4200 "
                                        "--truth 1,1 -j 2 --csv " + csv);
  ASSERT_EQ(0, sweep.status) << sweep.err;
  std::istringstream table(readFile(csv));
  std::string line;
  ASSERT_TRUE(std::getline(table, line));
  EXPECT_EQ("Human_NUM,Count_area_distance,in,out,error,best,failure", line);
  int rows = 0;
  std::string previousError = "0";
  while (std::getline(table, line)) {
    ++rows;
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
    ASSERT_EQ(6u, cells.size()) << line;
    EXPECT_EQ(replayedCounts(logPath(), cells[0], cells[1]), cells[2] + "," + cells[3]) << line;
    EXPECT_EQ(cells[4] == "0" ? "1" : "0", cells[5]) << line;
    EXPECT_LE(std::stoi(previousError), std::stoi(cells[4])) << "sorted by error";
    previousError = cells[4];
  }
  EXPECT_EQ(4, rows);
  // The defaults see one pass each way: the best row on the terminal's table too.
  std::istringstream printed(sweep.out);
  std::getline(printed, line);
  std::getline(printed, line);
  std::istringstream best(line);
  const std::vector<std::string> cells{std::istream_iterator<std::string>(best),
                                       std::istream_iterator<std::string>()};
  EXPECT_EQ((std::vector<std::string>{"*", "1", "2500", "1", "1", "0"}), cells) << sweep.out;
}

TEST_F(SweepTool, BadGridsAndLogsEndWithStatusTwoBeforeAnythingRuns) {
  const std::string csv = tempPath("table.csv");
  const struct {
    std::string arguments;
    const char* message;
  } cases[] = {
      {logPath() + " --set Human_NUM=2 --set Human_NUM=3 --csv " + csv, "set twice"},
      {logPath() + " --set Human_width=100:50:10 --csv " + csv, "above TO"},
      {tempPath("no-such.log") + " --set Human_NUM=2 --csv " + csv, "no-such.log"},
      {::testing::TempDir() + " --csv " + csv, "directory"},
      {logPath() + " --csv " + ::testing::TempDir() + "no-such-dir/table.csv", "table.csv"},
  };
  for (const auto& c : cases) {
    std::remove(csv.c_str());
    const ToolRun sweep = run(STROLVEX_SWEEP_BINARY, c.arguments);
    EXPECT_EQ(2, sweep.status) << c.arguments;
    EXPECT_NE(std::string::npos, sweep.err.find(c.message)) << sweep.err;
    EXPECT_TRUE(sweep.out.empty()) << sweep.out;
    EXPECT_NE(0, access(csv.c_str(), F_OK)) << "no CSV written for " << c.arguments;
  }
}
