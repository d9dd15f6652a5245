// strolvex-replay as a user runs it: a scene with a known outcome, manager
// options, monitor, bad logs and options, signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>

#include "tools/replay/tests/CrossingScene.h"
#include "tools/replay/tests/ToolRun.h"

namespace {

ToolRun replay(const std::string& arguments, const std::string& environment = "") {
  return runTool(environment + " " STROLVEX_REPLAY_BINARY " " + arguments);
}

class ReplayTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { writeCrossingsLog(crossingsLog()); }
  static void TearDownTestSuite() {
    for (const char* name : {"crossings.log", "bad.log", "stdout", "stderr", "last.png"}) std::remove(tempPath(name).c_str());
  }
  static std::string crossingsLog() { return tempPath("crossings.log"); }
};

}  // namespace

// One result line per scan, in the log's order, the same bytes on every run.
TEST_F(ReplayTool, CountsOnePassEachWayTheSameOnEveryRun) {
  const ToolRun run = replay(crossingsLog());
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ(run.out, replay(crossingsLog()).out) << "a second run prints other bytes";
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(static_cast<std::size_t>(kCrossingScans), lines.size());
  for (int scan = 0; scan < kCrossingScans; ++scan) {
    ASSERT_EQ(0u, lines[scan].find("{\"t\":" + std::to_string(1000 + 100 * scan) + ",")) << lines[scan];
    const bool walking = kCrossings[0].visibleAt(scan) || kCrossings[1].visibleAt(scan);
    if (walking || scan < 10) { EXPECT_EQ(walking ? '1' : '0', countsOf(lines[scan]).back()) << "at scan " << scan; }
  }
  EXPECT_EQ("1,0,0", countsOf(lines[80])) << "A's track released before B comes";
  EXPECT_EQ("1,1,0", countsOf(lines.back()));
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

// Malformed lines are reported with their number and skipped (status 1);
// a missing log or a directory (2) or manager options it cannot take (1)
// end before any scan. The messages name the file.
TEST_F(ReplayTool, BadLogsAndOptionsEndWithTheirStatusAndReason) {
  const std::string bad = tempPath("bad.log");
  std::ofstream(bad) << "# two good scans around two bad lines and a short scan\n"
                     << formatScanLine(sceneScan(0, {})) << "\n1100 3000 three 3000\n\n"
                     << "3000 2999\n3000.5 2999\n" << formatScanLine(sceneScan(2, {})) << '\n';
  const struct { std::string arguments; int status; std::vector<std::string> named; std::size_t lines; } cases[] = {
      {bad, 1, {bad + ":3:", bad + ":6:"}, 2},
      {tempPath("no-such.log"), 2, {"no-such.log"}, 0},
      {::testing::TempDir(), 2, {}, 0},
      {"-f " + tempPath("no-such.conf") + " " + crossingsLog(), 1, {"no-such.conf"}, 0},
  };
  for (const auto& c : cases) {
    const ToolRun run = replay(c.arguments);
    EXPECT_EQ(c.status, run.status) << c.arguments;
    for (const std::string& named : c.named) EXPECT_NE(std::string::npos, run.err.find(named)) << run.err;
    EXPECT_EQ(c.lines, linesOf(run.out).size()) << c.arguments;
  }
}

TEST_F(ReplayTool, ASignalEndsTheReplayAfterTheScanAtHandWithItsResultsWritten) {
  const int kScans = 10000;  // long enough to be under way when the signal comes
  const std::string path = tempPath("bad.log"), out = tempPath("stdout");
  std::ofstream log(path);
  for (int scan = 0; scan < kScans; ++scan) log << formatScanLine(ScanRecord{1000 + 100 * scan, std::vector<double>(726, 999)}) << '\n';
  log.close();
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
    const std::vector<std::string> lines = linesOf(readFile(out));
    ASSERT_TRUE(!lines.empty() && lines.size() < static_cast<std::size_t>(kScans)) << lines.size();
    EXPECT_EQ(0u, lines.back().rfind("{\"t\":" + std::to_string(1000 + 100 * (lines.size() - 1)) + ",", 0)) << lines.back();
    EXPECT_EQ('}', lines.back().back()) << signal;
  }
}
