// Whole tracker cycles on prepared segments: what the order of the steps
// lets each one see.
#include <cmath>

#include "tracker/tests/TrackerProbe.h"

namespace {

// One cycle with at most one segment, cleared afterwards as publication
// clears it.
void cycle(TrackerProbe& p, int32_t clockMs, int32_t first = 0, int32_t last = 0) {
  p.clock.set(clockMs);
  if (first != 0) p.setSegment(1, first, last, 3000.0);
  p.trackerStep();
  p.m_segSteps[1].first_step = p.m_segSteps[1].last_step = 0;
}

}  // namespace

TEST(TrackerCycle, StartedTrackIsFilteredAtOnceAndBindsFromTheNextScan) {
  TrackerProbe& p = newTrackerProbe();
  cycle(p, 1100, 400, 421);
  TrackRecord& t = p.track(1);
  ASSERT_EQ(2, t.track_id);
  EXPECT_EQ(0, t.far_count) << "ageing sees the range that motion just pushed";
  // The filter's first estimate goes on top of the start estimate.
  EXPECT_NEAR(2962.904, t.est_y[2], 0.001);
  EXPECT_NEAR(477.574, t.est_x[2], 0.001);
  EXPECT_EQ(std::trunc(t.est_y[1]), t.est_y[1]);
  EXPECT_EQ(0.0, t.speed_hist[1]) << "no binding yet, no speed";

  cycle(p, 1500, 404, 425);  // the person a few steps on
  EXPECT_EQ(1, p.m_assocPair[1][1]);
  EXPECT_EQ(1500, t.assoc_clock);
  EXPECT_GT(t.speed_hist[1], 0.0) << "motion follows this cycle's binding";
  EXPECT_NEAR(3000.0, t.est_range[1], 200.0);
  for (int slot = 2; slot <= 10; ++slot) EXPECT_EQ(1, p.track(slot).track_id);
}

TEST(TrackerCycle, ReleasedSlotStaysFreeUntilTheNextCycle) {
  TrackerProbe& p = newTrackerProbe();
  p.m_Human_NUM = 1;
  cycle(p, 0, 400, 421);
  p.track(1).stale_count = 50;
  cycle(p, 100, 400, 421);
  EXPECT_EQ(1, p.track(1).track_id);
  EXPECT_EQ(kEmptyValue, p.track(1).est_y[1]);
  cycle(p, 200, 400, 421);
  EXPECT_EQ(2, p.track(1).track_id);
  for (int slot = 2; slot <= 10; ++slot)
    EXPECT_EQ(0, p.track(slot).far_count) << "N = 1 touches slot 1 only";
}
