// strolvex-replay as a user runs it: a scene with a known outcome, repeated
// runs, manager options, malformed and missing logs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/replay/tests/ReplayScene.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string readFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Per process, so that builds testing side by side do not meet.
std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "replay_" + std::to_string(getpid()) + "_" + name;
}

ToolRun replay(const std::string& arguments) {
  const std::string out = tempPath("stdout");
  const std::string err = tempPath("stderr");
  const std::string command = std::string(STROLVEX_REPLAY_BINARY) + " " + arguments + " >" +
                              out + " 2>" + err + " </dev/null";
  const int raw = std::system(command.c_str());
  return ToolRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

// The integers of the array under key in one result line.
std::vector<long> arrayOf(const std::string& line, const std::string& key) {
  std::vector<long> values;
  std::string::size_type p = line.find("\"" + key + "\":[");
  if (p == std::string::npos) return values;
  p += key.size() + 4;
  while (p < line.size() && line[p] != ']') {
    std::size_t used = 0;
    values.push_back(std::stol(line.substr(p), &used));
    p += used + (line[p + used] == ',' ? 1 : 0);
  }
  return values;
}

std::vector<std::string> linesOf(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream text(out);
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

// Ten empty scans teach the background. Then A walks left to right at
// 1 m/s, 2350 mm ahead, from x = -2200 (its near side 3000 mm away: inside
// the start zone of 2800..4000 mm, so its track starts at once) to
// x = 2200, and vanishes. Beyond 2500 mm on the left (positive bearing) its
// track is armed for "in"; once the estimate is right of the axis within
// 2000..2500 mm (the near side passes at about 2130 mm) it counts one "in".
// Its track, no longer bound, repeats its last speed and is released after
// ten such cycles, well within the 30 empty scans that follow. B then walks
// the other way 2450 mm ahead: armed on the right, counted "out" on the
// left. Once both are gone nothing is present.
const std::vector<Walk> kCrossings = {{10, 45, 2350.0, -2200.0, 2200.0},
                                      {85, 45, 2450.0, 2200.0, -2200.0}};
const int kCrossingScans = 160;

class ReplayTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    writeSceneLog(tempPath("crossings.log"), kCrossingScans, kCrossings);
  }
  static void TearDownTestSuite() {
    for (const char* name : {"crossings.log", "malformed.log", "stdout", "stderr"})
      std::remove(tempPath(name).c_str());
  }
  static std::string crossingsLog() { return tempPath("crossings.log"); }
};

TEST_F(ReplayTool, CountsOnePassEachWay) {
  const ToolRun run = replay(crossingsLog());
  ASSERT_EQ(0, run.status) << run.err;
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(static_cast<std::size_t>(kCrossingScans), lines.size());

  int firstIn = -1;
  int firstOut = -1;
  for (int scan = 0; scan < kCrossingScans; ++scan) {
    const std::vector<long> count = arrayOf(lines[scan], "count");
    ASSERT_EQ(3u, count.size());
    if (firstIn < 0 && count[0] == 1) firstIn = scan;
    if (firstOut < 0 && count[1] == 1) firstOut = scan;
    if (kCrossings[0].visibleAt(scan) || kCrossings[1].visibleAt(scan)) {
      EXPECT_EQ(1, count[2]) << "one walker, one track at scan " << scan;
    }
  }
  EXPECT_EQ((std::vector<long>{0, 0, 0}), arrayOf(lines[9], "count"));
  EXPECT_EQ((std::vector<long>{1, 0, 0}), arrayOf(lines[80], "count"))
      << "A's track released before B comes";
  EXPECT_EQ((std::vector<long>{1, 1, 0}), arrayOf(lines.back(), "count"));

  // Each pass is counted after the walker has crossed the axis and before
  // its near side is 2500 mm away again (about 1400 mm past the axis).
  ASSERT_GE(firstIn, 0);
  EXPECT_GT(kCrossings[0].xAt(firstIn), 0.0);
  EXPECT_LT(kCrossings[0].xAt(firstIn), 1400.0);
  ASSERT_GE(firstOut, 0);
  EXPECT_LT(kCrossings[1].xAt(firstOut), 0.0);
  EXPECT_GT(kCrossings[1].xAt(firstOut), -1400.0);

  // Slot 1 follows A's near side: at scan 32 A stands on the axis.
  EXPECT_NEAR(0, arrayOf(lines[32], "x")[0], 300);
  EXPECT_NEAR(2130, arrayOf(lines[32], "y")[0], 300);
}

TEST_F(ReplayTool, RepeatedRunsPrintTheSameBytes) {
  const ToolRun first = replay(crossingsLog());
  const ToolRun second = replay(crossingsLog());
  ASSERT_EQ(0, first.status);
  ASSERT_EQ(0, second.status);
  EXPECT_FALSE(first.out.empty());
  EXPECT_EQ(first.out, second.out);
}

TEST_F(ReplayTool, ManagerOptionsReachTheComponent) {
  const ToolRun run = replay("-o Category.Strolvex.conf.default.Human_NUM:2 " + crossingsLog());
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ(0u, run.out.find("{\"t\":1000,\"x\":[100000,100000],\"y\":[100000,100000],"
                             "\"v\":[0,0],\"h\":[0,0],\"count\":[0,0,0]}\n"));
}

TEST_F(ReplayTool, MalformedLinesAreReportedAndSkipped) {
  const std::string path = tempPath("malformed.log");
  {
    std::ofstream log(path);
    log << "# two good scans around two bad lines and a short scan\n"
        << formatScanLine(sceneScan(0, {})) << '\n'
        << "1100 3000 three 3000\n"
        << "\n"
        << "3000 2999\n"
        << "3000.5 2999\n"
        << formatScanLine(sceneScan(2, {})) << '\n';
  }
  const ToolRun run = replay(path);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find(path + ":3:")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find(path + ":6:")) << run.err;
  EXPECT_EQ(std::string::npos, run.err.find(path + ":5:")) << run.err;
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(0u, lines[0].find("{\"t\":1000,"));
  EXPECT_EQ(0u, lines[1].find("{\"t\":1200,"));
}

TEST_F(ReplayTool, UnreadableLogEndsWithStatusTwo) {
  const ToolRun missing = replay(tempPath("no-such.log"));
  EXPECT_EQ(2, missing.status);
  EXPECT_NE(std::string::npos, missing.err.find("no-such.log")) << missing.err;
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(2, replay(::testing::TempDir()).status);
}

}  // namespace
