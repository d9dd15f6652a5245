#include <gtest/gtest.h>

#include "monitor/MonitorSnapshot.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

// Steps lrfdata_min..lrfdata_max-1 are copied, kept inside the step arrays
// whatever the limits say, and the track count is kept to the slots there
// are. (The frame tests check the rest of the copy through what they draw.)
TEST(MonitorSnapshot, CopiesTheDrawnStepsOnlyAndStaysInsideTheTables) {
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  for (int t = 0; t < kScanSteps; ++t) scan->range[t] = 1000.0 + t;
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  const ScanWork& copy = snapshot->scan;
  takeScanSnapshot(*snapshot, *scan, 2);
  EXPECT_EQ(2, snapshot->track_count);
  EXPECT_EQ(0.0, copy.range[43]);
  EXPECT_EQ(1044.0, copy.range[44]);
  EXPECT_EQ(1724.0, copy.range[724]);
  EXPECT_EQ(0.0, copy.range[725]);

  scan->lrfdata_min = -20;
  scan->lrfdata_max = kScanSteps + 500;
  takeScanSnapshot(*snapshot, *scan, kMaxSlots + 5);
  EXPECT_EQ(kMaxSlots, snapshot->track_count);
  EXPECT_EQ(1000.0, copy.range[0]);
  EXPECT_EQ(1000.0 + kScanSteps - 1, copy.range[kScanSteps - 1]);
  EXPECT_EQ(0, drawnSteps(copy).first);
  EXPECT_EQ(kScanSteps, drawnSteps(copy).end);
  takeScanSnapshot(*snapshot, *scan, -3);
  EXPECT_EQ(0, snapshot->track_count);
  scan->lrfdata_min = 700;
  scan->lrfdata_max = 600;
  EXPECT_EQ(drawnSteps(*scan).first, drawnSteps(*scan).end);
}

}  // namespace
