#include <gtest/gtest.h>

#include <cstdlib>

#include "monitor/Monitor.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

// The monitor as the component drives it, with its frames going to a file.
// The output is chosen once per process, so this is the only test here that
// calls the monitor's entry points.
TEST(Monitor, FramesFollowTheSnapshotsOfTheCycle) {
  ScratchDirectory dir;
  const std::string path = dir.path() + "/frame.png";
  ASSERT_EQ(0, setenv("STROLVEX_MONITOR", ("png:" + path).c_str(), 1));

  // Activation: the first frame, from nothing, shows the axes alone.
  openMonitorWindow();
  std::unique_ptr<MonitorFrame> first = readPng(path);
  ASSERT_TRUE(first != nullptr);
  EXPECT_TRUE(sameFrame(composeMonitorFrame(*zeroSnapshot()), *first));

  // A processed scan: snapshot, pump, frame.
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  scan->foreground[512] = 1;
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[2].est_x[1] = -500.0;
  tracks[2].est_y[1] = 2000.0;
  snapshotScan(scan.get(), 6);
  snapshotTracks(tracks.get());
  pumpMonitorMessages();

  std::unique_ptr<MonitorSnapshot> expected = zeroSnapshot();
  takeScanSnapshot(*expected, *scan, 6);
  takeTrackSnapshot(*expected, tracks.get());
  const MonitorFrame expectedFrame = composeMonitorFrame(*expected);
  std::unique_ptr<MonitorFrame> shown = readPng(path);
  ASSERT_TRUE(shown != nullptr);
  EXPECT_TRUE(sameFrame(expectedFrame, *shown));
  EXPECT_EQ(kGreenPixel, shown->pixel(319, 230));
  EXPECT_EQ(kRedPixel, shown->pixel(242, 188));

  // Deactivation frees the component's blocks; a later pump (another
  // instance's cycle, say) draws the kept copy. Missing blocks are ignored.
  scan.reset();
  tracks.reset();
  snapshotScan(nullptr, 6);
  snapshotTracks(nullptr);
  pumpMonitorMessages();
  shown = readPng(path);
  ASSERT_TRUE(shown != nullptr);
  EXPECT_TRUE(sameFrame(expectedFrame, *shown));
  EXPECT_EQ(1, dir.fileCount());
}

}  // namespace
