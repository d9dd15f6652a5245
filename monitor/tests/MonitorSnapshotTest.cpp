#include <gtest/gtest.h>

#include "monitor/MonitorSnapshot.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

std::unique_ptr<ScanWork> numberedScan() {
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  for (int t = 0; t < kScanSteps; ++t) {
    scan->range[t] = 1000.0 + t;
    scan->background[t] = 2000.0 + t;
    scan->foreground[t] = 1;
  }
  return scan;
}

TEST(MonitorSnapshot, ScanCopyHoldsTheDrawnStepsAndTheParameters) {
  std::unique_ptr<ScanWork> scan = numberedScan();
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  takeScanSnapshot(*snapshot, *scan, 6);
  const ScanWork& copy = snapshot->scan;
  EXPECT_EQ(6, snapshot->track_count);
  EXPECT_EQ(44, copy.lrfdata_min);
  EXPECT_EQ(725, copy.lrfdata_max);
  EXPECT_EQ(384, copy.lrfdata_mid);
  EXPECT_EQ(360, copy.lrfdata_theta);
  EXPECT_EQ(1024, copy.lrf_total_steps);
  for (int t : {44, 384, 724}) {
    EXPECT_EQ(1000.0 + t, copy.range[t]) << t;
    EXPECT_EQ(2000.0 + t, copy.background[t]) << t;
    EXPECT_EQ(1, copy.foreground[t]) << t;
  }
  for (int t : {43, 725}) {
    EXPECT_EQ(0.0, copy.range[t]) << t;
    EXPECT_EQ(0.0, copy.background[t]) << t;
    EXPECT_EQ(0, copy.foreground[t]) << t;
  }
}

TEST(MonitorSnapshot, TrackCopyHoldsEstimateAndParticlesOfCountedSlots) {
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  takeScanSnapshot(*snapshot, *scan, 2);
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  for (int i = 1; i <= 3; ++i) {
    tracks[i].est_x[1] = 10.0 * i;
    tracks[i].est_y[1] = 20.0 * i;
    tracks[i].est_x[2] = 1.0;
    tracks[i].speed_hist[1] = 500.0;
    for (int k = 0; k < kParticleCount; ++k) {
      tracks[i].particle_x[k] = i * 1000.0 + k;
      tracks[i].particle_y[k] = -i * 1000.0 - k;
    }
  }
  takeTrackSnapshot(*snapshot, tracks.get());
  for (int i = 1; i <= 2; ++i) {
    const TrackRecord& copy = snapshot->tracks[i];
    EXPECT_EQ(10.0 * i, copy.est_x[1]) << i;
    EXPECT_EQ(20.0 * i, copy.est_y[1]) << i;
    EXPECT_EQ(i * 1000.0, copy.particle_x[0]) << i;
    EXPECT_EQ(i * 1000.0 + 99, copy.particle_x[99]) << i;
    EXPECT_EQ(-i * 1000.0 - 99, copy.particle_y[99]) << i;
    EXPECT_EQ(0.0, copy.est_x[2]) << i;         // only the newest estimate
    EXPECT_EQ(0.0, copy.speed_hist[1]) << i;    // nothing the frame ignores
  }
  EXPECT_EQ(0.0, snapshot->tracks[3].est_x[1]);
  EXPECT_EQ(0.0, snapshot->tracks[3].particle_x[0]);
  EXPECT_EQ(0.0, snapshot->tracks[0].est_x[1]);
}

// Parameter copies outside the arrays' bounds must not lead the copy or the
// drawing outside them.
TEST(MonitorSnapshot, OutOfRangeLimitsAreKeptInsideTheTables) {
  std::unique_ptr<ScanWork> scan = numberedScan();
  scan->lrfdata_min = -20;
  scan->lrfdata_max = kScanSteps + 500;
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  takeScanSnapshot(*snapshot, *scan, kMaxSlots + 5);
  EXPECT_EQ(kMaxSlots, snapshot->track_count);
  EXPECT_EQ(1000.0, snapshot->scan.range[0]);
  EXPECT_EQ(1000.0 + kScanSteps - 1, snapshot->scan.range[kScanSteps - 1]);
  const DrawnSteps steps = drawnSteps(snapshot->scan);
  EXPECT_EQ(0, steps.first);
  EXPECT_EQ(kScanSteps, steps.end);

  takeScanSnapshot(*snapshot, *scan, -3);
  EXPECT_EQ(0, snapshot->track_count);
  scan->lrfdata_min = 700;
  scan->lrfdata_max = 600;
  const DrawnSteps none = drawnSteps(*scan);
  EXPECT_EQ(none.first, none.end);
}

}  // namespace
