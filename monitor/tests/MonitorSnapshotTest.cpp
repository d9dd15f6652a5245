#include <gtest/gtest.h>

#include "monitor/tests/FrameTestSupport.h"

// Steps lrfdata_min..lrfdata_max-1 are copied, kept inside the step arrays
// whatever the limits say, and the track count is kept to the slots there are.
TEST(MonitorSnapshot, CopiesTheDrawnStepsOnlyAndStaysInsideTheTables) {
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  for (int t = 0; t < kScanSteps; ++t) scan->range[t] = 1000.0 + t;
  std::unique_ptr<MonitorSnapshot> snapshot(new MonitorSnapshot());
  const ScanWork& copy = snapshot->scan;
  takeScanSnapshot(*snapshot, *scan, 2);
  EXPECT_EQ(2, snapshot->track_count);
  for (int step : {43, 44, 724, 725}) EXPECT_EQ(step == 43 || step == 725 ? 0.0 : 1000.0 + step, copy.range[step]);
  scan->lrfdata_min = -20;
  scan->lrfdata_max = kScanSteps + 500;
  takeScanSnapshot(*snapshot, *scan, kMaxSlots + 5);
  EXPECT_EQ(kMaxSlots, snapshot->track_count);
  EXPECT_EQ(kScanSteps, drawnSteps(copy).end);
  scan->lrfdata_min = 700;  // limits the wrong way round: nothing drawn
  scan->lrfdata_max = 600;
  EXPECT_EQ(drawnSteps(*scan).first, drawnSteps(*scan).end);
}
