#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "monitor/PngFrameFile.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

MonitorFrame frameWithRays() {
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  scan->foreground[512] = 1;
  takeScanSnapshot(*snapshot, *scan, 0);
  return composeMonitorFrame(*snapshot);
}

TEST(PngFrameFile, WritesTheFrameAsAPngAndLeavesNoPartialFile) {
  ScratchDirectory dir;
  const std::string path = dir.path() + "/monitor.png";
  const MonitorFrame frame = frameWithRays();
  ASSERT_TRUE(writeFramePng(frame, path));
  std::unique_ptr<MonitorFrame> read = readPng(path);
  ASSERT_TRUE(read != nullptr);
  EXPECT_TRUE(sameFrame(frame, *read));
  EXPECT_EQ(1, dir.fileCount());  // no PATH.tmp left behind
}

// A viewer holding the old file keeps a whole frame: the new one replaces
// it by a rename, not by rewriting it in place.
TEST(PngFrameFile, ReplacesThePreviousFrameByRenaming) {
  ScratchDirectory dir;
  const std::string path = dir.path() + "/monitor.png";
  const MonitorFrame axes = composeMonitorFrame(*zeroSnapshot());
  ASSERT_TRUE(writeFramePng(axes, path));
  struct stat before;
  ASSERT_EQ(0, stat(path.c_str(), &before));
  std::ifstream heldByViewer(path, std::ios::binary);

  const MonitorFrame rays = frameWithRays();
  ASSERT_TRUE(writeFramePng(rays, path));
  struct stat after;
  ASSERT_EQ(0, stat(path.c_str(), &after));
  EXPECT_NE(before.st_ino, after.st_ino);
  EXPECT_TRUE(sameFrame(rays, *readPng(path)));
  EXPECT_EQ(1, dir.fileCount());
}

TEST(PngFrameFile, FailureIsReportedAndLeavesNothing) {
  ScratchDirectory dir;
  const std::string path = dir.path() + "/missing/monitor.png";
  EXPECT_FALSE(writeFramePng(composeMonitorFrame(*zeroSnapshot()), path));
  EXPECT_EQ(0, dir.fileCount());
}

}  // namespace
