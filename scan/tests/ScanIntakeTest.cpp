#include <limits>

#include "scan/tests/ScanFixture.h"

namespace {

using ScanIntake = ScanFixture;
using IsolatedStepFilter = ScanFixture;

TEST_F(ScanIntake, FirstScanBecomesTheBackgroundAndHasNoForeground) {
  std::vector<double> scan = uniformScan(2000.0);
  scan[100] = 5000.0;
  scan[200] = 1000.0;
  intake(scan);

  for (int s = 44; s <= 725; ++s) EXPECT_EQ(work().foreground[s], 0) << s;
  EXPECT_EQ(work().range[100], 4000.0);
  EXPECT_EQ(work().background[100], 4000.0);
  EXPECT_EQ(work().background[200], 1000.0);
  EXPECT_EQ(work().background[300], 2000.0);
  // Steps outside the processed range are never written.
  EXPECT_EQ(work().range[43], 0.0);
  EXPECT_EQ(work().range[726], 0.0);
  EXPECT_EQ(work().lrfdata_min, 44);
  EXPECT_EQ(work().lrfdata_max, 725);
  EXPECT_EQ(work().lrfdata_mid, 384);
  EXPECT_EQ(work().lrfdata_theta, 360);
  EXPECT_EQ(work().lrf_total_steps, 1024);
}

TEST_F(ScanIntake, ForegroundNeedsTheRatioBelowPointNineAndMoreThan100mm) {
  intake(uniformScan(3000.0));
  std::vector<double> scan = uniformScan(3000.0);
  scan[100] = 1500.0;  // ratio 0.5
  scan[101] = 2800.0;  // about 0.93
  scan[102] = 2700.0;  // exactly 0.9
  scan[103] = 100.0;
  scan[104] = 100.5;
  intake(scan);

  EXPECT_EQ(work().foreground[100], 1);
  EXPECT_EQ(work().foreground[101], 0);
  EXPECT_EQ(work().foreground[102], 0);
  EXPECT_EQ(work().foreground[103], 0);
  EXPECT_EQ(work().foreground[104], 1);
  EXPECT_EQ(work().background[100], 3000.0);
  EXPECT_EQ(work().range[100], 1500.0);
}

TEST_F(ScanIntake, ReadingsAreClampedAndGapsFilled) {
  std::vector<double> first = uniformScan(3000.0);
  first[300] = 0.0;  // no echo before any background
  intake(first);
  EXPECT_EQ(work().range[300], 4000.0);
  EXPECT_EQ(work().background[300], 4000.0);

  std::vector<double> scan = uniformScan(3000.0);
  scan[100] = 5000.0;
  scan[101] = 0.0;
  scan[102] = -250.0;
  intake(scan);
  EXPECT_EQ(work().range[100], 4000.0);
  EXPECT_EQ(work().background[100], 4000.0);
  EXPECT_EQ(work().range[101], 3000.0);
  EXPECT_EQ(work().foreground[101], 0);
  EXPECT_EQ(work().range[102], 10.0);
  EXPECT_EQ(work().foreground[102], 0);

  // The background is a running maximum: a nearer reading does not lower it.
  intake(uniformScan(2000.0));
  EXPECT_EQ(work().background[200], 3000.0);
  EXPECT_EQ(work().background[100], 4000.0);
}

TEST_F(ScanIntake, NotANumberIsNoEchoAndInfinitiesAreClamped) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> first = uniformScan(3000.0);
  first[100] = std::numeric_limits<double>::quiet_NaN();
  first[101] = inf;
  first[102] = -inf;
  intake(first);
  EXPECT_EQ(work().range[100], 4000.0);
  EXPECT_EQ(work().background[100], 4000.0);
  EXPECT_EQ(work().range[101], 4000.0);
  EXPECT_EQ(work().range[102], 10.0);

  std::vector<double> scan = uniformScan(3000.0);
  scan[200] = std::numeric_limits<double>::quiet_NaN();
  intake(scan);
  EXPECT_EQ(work().range[200], 3000.0);
  EXPECT_EQ(work().foreground[200], 0);
  EXPECT_EQ(work().background[200], 3000.0);
}

void flagRun(ScanWork& work, int first, int last) {
  for (int s = first; s <= last; ++s) work.foreground[s] = 1;
}

TEST_F(IsolatedStepFilter, RunsOfTenSurviveAndRunsOfNineVanish) {
  flagRun(work(), 100, 109);
  flagRun(work(), 200, 208);
  probe.filterIsolatedSteps(10, 9);
  for (int s = 100; s <= 109; ++s) EXPECT_EQ(work().foreground[s], 1) << s;
  for (int s = 200; s <= 208; ++s) EXPECT_EQ(work().foreground[s], 0) << s;
}

TEST_F(IsolatedStepFilter, FlagsOutsideTheProcessedRangeNeverCount) {
  // Left over from a wider range: must not rescue the run at the edge.
  flagRun(work(), 35, 43);
  flagRun(work(), 44, 52);
  flagRun(work(), 726, 740);
  flagRun(work(), 716, 725);
  probe.filterIsolatedSteps(10, 9);
  for (int s = 44; s <= 52; ++s) EXPECT_EQ(work().foreground[s], 0) << s;
  for (int s = 716; s <= 725; ++s) EXPECT_EQ(work().foreground[s], 1) << s;
}

}  // namespace
