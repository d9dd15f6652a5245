// Ageing counters and the release of stale tracks.
#include "tracker/tests/TrackerProbe.h"

// Each limit: the last value that keeps the track, one more frees it (the
// candidate's side kept).
TEST(Release, EachCounterHasItsLimit) {
  struct Limit { int32_t TrackRecord::*counter; int32_t kept; };
  for (const Limit& limit : {Limit{&TrackRecord::stale_count, 9}, Limit{&TrackRecord::near_slow_count, 2000},
                             Limit{&TrackRecord::far_count, 10}, Limit{&TrackRecord::behind_count, 20},
                             Limit{&TrackRecord::est_behind_count, 100}}) {
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
    EXPECT_EQ(0, t.*limit.counter + t.pass_state + t.assoc_clock) << limit.kept;
    EXPECT_EQ(kEmptyValue, t.path_x[1]);
    EXPECT_EQ(7.0, t.obs_x[1]);
  }
}

// Beyond 2500 mm a slow coasting track ages two a cycle (so it goes after
// its fifth); nearer it is not stale but slow; at exactly 2500 mm neither rule applies.
TEST(Ageing, FarSlowTracksAgeNearOnesCountAsSlow) {
  struct Case { double range, speed; int stale, nearSlow; };
  for (const Case& c : {Case{3000.0, 100.0, 6, 0}, Case{2000.0, 100.0, 0, 1}, Case{2500.0, 90.0, 4, 0}}) {
    TrackerProbe& p = newTrackerProbe();
    TrackRecord& t = p.track(1);
    p.occupy(1, c.range, 100.0);
    t.est_range[1] = c.range;
    t.speed_hist[1] = 100.0;
    t.speed_hist[2] = c.speed;
    t.stale_count = 4;
    p.updateAgeing(1);
    EXPECT_EQ(c.stale, t.stale_count) << c.range;
    EXPECT_EQ(c.nearSlow, t.near_slow_count) << c.range;
  }
}
