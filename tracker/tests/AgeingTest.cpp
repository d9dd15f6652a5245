// Ageing counters and the release of stale tracks.
#include "tracker/tests/TrackerProbe.h"

// Each limit: the last value that keeps the track, one more frees it.
TEST(Release, EachCounterHasItsLimit) {
  struct Limit { int32_t TrackRecord::*counter; int32_t kept; };
  const Limit limits[] = {{&TrackRecord::stale_count, 9}, {&TrackRecord::near_slow_count, 2000},
                          {&TrackRecord::far_count, 10}, {&TrackRecord::behind_count, 20},
                          {&TrackRecord::est_behind_count, 100}};
  for (const Limit& limit : limits) {
    TrackerProbe& p = newTrackerProbe();
    TrackRecord& t = p.track(1);
    p.occupy(1, 2000.0, 100.0);
    t.*limit.counter = limit.kept;
    p.releaseStaleTracks();
    EXPECT_EQ(2, t.track_id) << limit.kept;
    t.*limit.counter = limit.kept + 1;
    t.pass_state = 3;
    t.assoc_clock = 9;
    t.obs_x[1] = 7.0;
    p.releaseStaleTracks();
    EXPECT_EQ(1, t.track_id) << limit.kept;
    EXPECT_EQ(0, t.*limit.counter);
    EXPECT_EQ(0, t.pass_state);
    EXPECT_EQ(0, t.assoc_clock);
    EXPECT_EQ(kEmptyValue, t.path_x[1]);
    EXPECT_EQ(7.0, t.obs_x[1]) << "the candidate's side is kept";
  }
}

TEST(Ageing, FarSlowCoastingTrackGoesAfterItsFifthCycle) {
  TrackerProbe& p = newTrackerProbe();
  TrackRecord& t = p.track(1);
  p.occupy(1, 3000.0, 100.0);
  t.est_range[1] = 3000.0;
  t.speed_hist[1] = t.speed_hist[2] = 100.0;
  for (int cycle = 1; cycle <= 5; ++cycle) {
    EXPECT_EQ(2, t.track_id) << cycle;
    p.updateAgeing(1);
    EXPECT_EQ(2 * cycle, t.stale_count);
    p.releaseStaleTracks();
  }
  EXPECT_EQ(1, t.track_id);

  // Nearer than 2500 mm the same track is not stale; at exactly 2500 mm
  // neither rule applies.
  t.est_range[1] = 2000.0;
  t.speed_hist[1] = t.speed_hist[2] = 100.0;
  p.updateAgeing(1);
  EXPECT_EQ(0, t.stale_count);
  EXPECT_EQ(1, t.near_slow_count);
  t.est_range[1] = 2500.0;
  t.stale_count = 4;
  t.speed_hist[2] = 90.0;
  p.updateAgeing(1);
  EXPECT_EQ(4, t.stale_count);
}
