#include <limits>

#include "scan/tests/ScanFixture.h"

namespace {

using ScanIntake = ScanFixture;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST_F(ScanIntake, FirstScanBecomesTheClampedBackgroundWithNoForeground) {
  std::vector<double> scan = uniformScan(2000.0);
  // Beyond the limit, no echo (nothing behind yet: open space), NaN, +-inf.
  const double readings[] = {5000.0, 0.0, kNaN, kInf, -kInf};
  const double ranges[] = {4000.0, 4000.0, 4000.0, 4000.0, 10.0};
  for (int k = 0; k < 5; ++k) scan[300 + k] = readings[k];
  intake(scan);
  for (int s = 44; s <= 725; ++s) EXPECT_EQ(work().foreground[s], 0) << s;
  for (int k = 0; k < 4; ++k) EXPECT_EQ(work().background[300 + k], 4000.0) << k;
  for (int k = 0; k < 5; ++k) EXPECT_EQ(work().range[300 + k], ranges[k]) << k;
  EXPECT_EQ(work().background[200], 2000.0);
  EXPECT_EQ(work().range[43] + work().range[726], 0.0);  // outside the processed range
}

TEST_F(ScanIntake, LaterReadingsAreClampedAndGapsFilledFromTheBackground) {
  intake(uniformScan(3000.0));
  // Ratios 0.5, 0.93, 0.9; either side of 100 mm; too far, none, negative, NaN.
  const double readings[] = {1500.0, 2800.0, 2700.0, 100.0, 100.5, 5000.0, 0.0, -250.0, kNaN};
  const double ranges[] = {1500.0, 2800.0, 2700.0, 100.0, 100.5, 4000.0, 3000.0, 10.0, 3000.0};
  const int foreground[] = {1, 0, 0, 0, 1, 0, 0, 0, 0};
  std::vector<double> scan = uniformScan(3000.0);
  for (int k = 0; k < 9; ++k) scan[100 + k] = readings[k];
  intake(scan);
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(work().range[100 + k], ranges[k]) << readings[k];
    EXPECT_EQ(work().foreground[100 + k], foreground[k]) << readings[k];
  }
  EXPECT_EQ(work().background[105], 4000.0);
  // The background is a running maximum: a nearer reading does not lower it.
  intake(uniformScan(2000.0));
  EXPECT_EQ(work().background[200], 3000.0);
}

TEST_F(ScanIntake, IsolatedStepFilterChecksStepsInTurnAgainstWhatIsLeft) {
  // Random flags, also outside the range (left over: they never count); a
  // step dropped as the walk reaches it no longer supports the ones after.
  uint32_t seed = 7;
  const auto random = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const int ranges[][2] = {{44, 725}, {100, 118}, {100, 119}, {300, 305}, {400, 400}};
  for (int pattern = 0; pattern < 200; ++pattern) {
    const int first = probe->m_LRFdata_min = ranges[pattern % 5][0];
    const int last = probe->m_LRFdata_max = ranges[pattern % 5][1];
    const unsigned density = 2 + pattern % 7;  // out of 8
    for (int s = 30; s <= 740; ++s) work().foreground[s] = random() % 8 < density ? 1 : 0;
    std::vector<int32_t> expected(work().foreground, work().foreground + 741);
    const auto flagged = [&](int s) { return s >= first && s <= last && expected[s] == 1; };
    for (int s = first; s <= last; ++s) {
      int neighbours = 0;
      for (int d = 1; d < 10; ++d) neighbours += flagged(s - d) + flagged(s + d);
      if (expected[s] == 1 && neighbours < 9) expected[s] = 0;
    }
    probe->filterIsolatedSteps(10, 9);
    for (int s = 30; s <= 740; ++s) ASSERT_EQ(work().foreground[s], expected[s]) << pattern << " " << s;
  }
}

}  // namespace
