// strolvex-replay as a user runs it: a scene with a known outcome, repeated
// runs, manager options (also rejected ones), malformed and missing logs,
// signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/replay/tests/CrossingScene.h"
#include "tools/scanlog/ScanLog.h"

namespace {

// Per process, so that builds testing side by side do not meet.
std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "replay_" + std::to_string(getpid()) + "_" + name;
}

std::string readFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

struct ToolRun { int status; std::string out, err; std::vector<std::string> lines; };

ToolRun replay(const std::string& arguments, const std::string& environment = "") {
  const std::string out = tempPath("stdout"), err = tempPath("stderr");
  const int raw = std::system((environment + " " STROLVEX_REPLAY_BINARY " " + arguments + " >" + out + " 2>" + err + " </dev/null").c_str());
  ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err), {}};
  std::istringstream text(run.out);
  for (std::string line; std::getline(text, line);) run.lines.push_back(line);
  return run;
}

// The integers of the array under key in one result line.
std::vector<long> arrayOf(const std::string& line, const std::string& key) {
  const std::size_t from = line.find("\"" + key + "\":[") + key.size() + 4;
  std::string items = line.substr(from, line.find(']', from) - from);
  std::replace(items.begin(), items.end(), ',', ' ');
  std::istringstream text(items);
  return std::vector<long>(std::istream_iterator<long>(text), std::istream_iterator<long>());
}

class ReplayTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ofstream log(crossingsLog());
    log << "# synthetic scene: room and walkers\n";
    for (int scan = 0; scan < kCrossingScans; ++scan) log << formatScanLine(sceneScan(scan, kCrossings)) << '\n';
  }
  static void TearDownTestSuite() {
    for (const char* name : {"crossings.log", "bad.log", "stdout", "stderr", "last.png"}) std::remove(tempPath(name).c_str());
  }
  static std::string crossingsLog() { return tempPath("crossings.log"); }
};

}  // namespace

TEST_F(ReplayTool, CountsOnePassEachWayTheSameOnEveryRun) {
  const ToolRun run = replay(crossingsLog());
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ(run.out, replay(crossingsLog()).out) << "a second run prints other bytes";
  ASSERT_EQ(static_cast<std::size_t>(kCrossingScans), run.lines.size());
  int firstIn = -1, firstOut = -1;
  for (int scan = 0; scan < kCrossingScans; ++scan) {
    const std::vector<long> count = arrayOf(run.lines[scan], "count");
    if (firstIn < 0 && count[0] == 1) firstIn = scan;
    if (firstOut < 0 && count[1] == 1) firstOut = scan;
    const bool walking = kCrossings[0].visibleAt(scan) || kCrossings[1].visibleAt(scan);
    if (walking || scan < 10) {
      EXPECT_EQ(walking ? 1 : 0, count[2]) << "tracks at scan " << scan;
    }
  }
  EXPECT_EQ((std::vector<long>{1, 0, 0}), arrayOf(run.lines[80], "count")) << "A's track released before B comes";
  EXPECT_EQ((std::vector<long>{1, 1, 0}), arrayOf(run.lines.back(), "count"));
  // Each pass is counted after the walker has crossed the axis and before
  // its near side is 2500 mm away again (about 1400 mm past the axis).
  ASSERT_TRUE(firstIn >= 10 && firstOut >= 10);
  EXPECT_TRUE(kCrossings[0].xAt(firstIn) > 0.0 && kCrossings[0].xAt(firstIn) < 1400.0) << firstIn;
  EXPECT_TRUE(kCrossings[1].xAt(firstOut) < 0.0 && kCrossings[1].xAt(firstOut) > -1400.0) << firstOut;
  // Slot 1 follows A's near side: at scan 32 A stands on the axis.
  EXPECT_NEAR(0, arrayOf(run.lines[32], "x")[0], 300);
  EXPECT_NEAR(2130, arrayOf(run.lines[32], "y")[0], 300);
}

TEST_F(ReplayTool, ManagerOptionsReachTheComponentAndTheMonitorLeavesTheLastFrame) {
  const std::string frame = tempPath("last.png");
  const ToolRun run = replay("-o Category.Strolvex.conf.default.Human_NUM:2 " + crossingsLog(),
                             "STROLVEX_MONITOR=png:" + frame);
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ(0u, run.out.find("{\"t\":1000,\"x\":[100000,100000],\"y\":[100000,100000],"
                             "\"v\":[0,0],\"h\":[0,0],\"count\":[0,0,0]}\n"));
  EXPECT_EQ(0u, readFile(frame).find("\x89PNG\r\n"));
}

TEST_F(ReplayTool, MalformedLinesAreReportedAndSkipped) {
  const std::string path = tempPath("bad.log");
  std::ofstream(path) << "# two good scans around two bad lines and a short scan\n"
                      << formatScanLine(sceneScan(0, {})) << "\n1100 3000 three 3000\n\n"
                      << "3000 2999\n3000.5 2999\n" << formatScanLine(sceneScan(2, {})) << '\n';
  const ToolRun run = replay(path);
  EXPECT_EQ(1, run.status);
  for (const char* line : {":3:", ":5:", ":6:"})
    EXPECT_EQ(line[1] != '5', run.err.find(path + line) != std::string::npos) << line << run.err;
  ASSERT_EQ(2u, run.lines.size());
  EXPECT_EQ(0u, run.lines[0].find("{\"t\":1000,"));
  EXPECT_EQ(0u, run.lines[1].find("{\"t\":1200,"));
}

// Nothing is replayed: a missing log or a directory ends with status 2,
// manager options it cannot take with status 1; the message names the file.
TEST_F(ReplayTool, UnreadableLogOrRejectedOptionsEndBeforeAnyScan) {
  struct Case { std::string arguments, named; int status; };
  for (const Case& c : {Case{tempPath("no-such.log"), "no-such.log", 2}, Case{::testing::TempDir(), "", 2},
                        Case{"-f " + tempPath("no-such.conf") + " " + crossingsLog(), "no-such.conf", 1}}) {
    const ToolRun run = replay(c.arguments);
    EXPECT_EQ(c.status, run.status) << c.arguments;
    EXPECT_NE(std::string::npos, run.err.find(c.named)) << run.err;
    EXPECT_TRUE(run.out.empty()) << c.arguments;
  }
}

TEST_F(ReplayTool, ASignalEndsTheReplayAfterTheScanAtHandWithItsResultsWritten) {
  const int kScans = 10000;  // long enough to be under way when the signal comes
  const std::string path = tempPath("bad.log"), out = tempPath("stdout");
  {
    std::ofstream log(path);
    std::string ranges;
    for (int step = 0; step < 726; ++step) ranges += " 999";
    for (int scan = 0; scan < kScans; ++scan) log << 1000 + 100 * scan << ranges << '\n';
  }
  for (int signal : {SIGINT, SIGTERM}) {
    std::remove(out.c_str());
    const pid_t child = fork();
    if (child == 0) {
      dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
      dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
      execl(STROLVEX_REPLAY_BINARY, STROLVEX_REPLAY_BINARY, path.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Results are written as they come: wait for some, then interrupt.
    for (int wait = 0; wait < 3000 && readFile(out).size() < 50000; ++wait) usleep(1000);
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + signal) << signal << ": " << status;
    // Whole lines, one per scan from the first on, and fewer than the log has.
    std::istringstream text(readFile(out));
    std::size_t lines = 0;
    std::string line, last;
    for (; std::getline(text, line); ++lines) last = line;
    EXPECT_TRUE(lines > 0 && lines < static_cast<std::size_t>(kScans)) << lines;
    EXPECT_EQ(0u, last.rfind("{\"t\":" + std::to_string(1000 + 100 * (lines - 1)) + ",", 0)) << last;
    EXPECT_EQ('}', last.back()) << signal;
  }
}
