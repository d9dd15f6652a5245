#include <gtest/gtest.h>

#include "monitor/MonitorSnapshot.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

// Steps lrfdata_min..lrfdata_max-1 are copied, kept inside the step arrays
// whatever the limits say, and the track count is kept to the slots there are.
TEST(MonitorSnapshot, CopiesTheDrawnStepsOnlyAndStaysInsideTheTables) {
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  for (int t = 0; t < kScanSteps; ++t) scan->range[t] = 1000.0 + t;
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  const ScanWork& copy = snapshot->scan;
  takeScanSnapshot(*snapshot, *scan, 2);
  EXPECT_EQ(2, snapshot->track_count);
  const double copied[][2] = {{43, 0.0}, {44, 1044.0}, {724, 1724.0}, {725, 0.0}};
  for (const auto& step : copied) EXPECT_EQ(step[1], copy.range[int(step[0])]) << step[0];
  scan->lrfdata_min = -20;
  scan->lrfdata_max = kScanSteps + 500;
  for (int count : {kMaxSlots + 5, -3}) {
    takeScanSnapshot(*snapshot, *scan, count);
    EXPECT_EQ(count < 0 ? 0 : kMaxSlots, snapshot->track_count);
  }
  EXPECT_EQ(1000.0 + kScanSteps - 1, copy.range[kScanSteps - 1]);
  EXPECT_EQ(0, drawnSteps(copy).first);
  EXPECT_EQ(kScanSteps, drawnSteps(copy).end);
  scan->lrfdata_min = 700;
  scan->lrfdata_max = 600;
  EXPECT_EQ(drawnSteps(*scan).first, drawnSteps(*scan).end);
}

}  // namespace
