// Speed, heading, the random sequence and the counting of passes across the
// forward axis.
#include <climits>
#include <string>

#include "tracker/tests/TrackerProbe.h"

namespace {

// Slot 1 busy, its estimate moved to each (y, x) in turn, motion updated.
void walk(TrackerProbe& p, std::initializer_list<std::pair<double, double>> estimates) {
  if (p.track(1).track_id == 1) p.occupy(1, estimates.begin()->first, estimates.begin()->second);
  for (const auto& e : estimates) {
    p.track(1).est_y[1] = e.first;
    p.track(1).est_x[1] = e.second;
    p.updateMotion(1);
  }
}

}  // namespace

// Seen 3000 mm away left of the axis, then 2300 mm away right of it: one pass
// in the configured direction (only the exact "OUT,IN" reverses them).
TEST(Counting, PassIsCountedOnceInTheConfiguredDirection) {
  for (const char* mode : {"IN,OUT", "OUT,IN", "out,in", "OUT, IN", "", "OUT,IN "}) {
    TrackerProbe& p = newTrackerProbe();
    p.m_Count_mode = mode;
    walk(p, {{2400.0, -1800.0}, {1840.0, 1380.0}});
    const bool reversed = std::string(mode) == "OUT,IN";
    EXPECT_EQ(reversed ? 0 : 1, p.m_countIn) << '"' << mode << '"';
    EXPECT_EQ(reversed ? 1 : 0, p.m_countOut) << '"' << mode << '"';
  }
  TrackerProbe& p = newTrackerProbe();
  walk(p, {{2400.0, -1800.0}, {1840.0, 1380.0}, {2400.0, -1800.0}, {1840.0, 1380.0}, {1840.0, -1380.0}});
  EXPECT_EQ(2300.0, p.track(1).est_range[1]);
  EXPECT_EQ(1, p.m_countIn + p.m_countOut) << "crossing back changes nothing";
  p.updateMotion(2);
  EXPECT_EQ(5, p.m_countPresent) << "the busy slot, once per update; a free one never";
}

TEST(Counting, OtherSideBeyondTheAreaDistanceRearms) {
  TrackerProbe& p = newTrackerProbe();
  walk(p, {{2400.0, -1800.0}, {2080.0, 1560.0}});  // 2600 mm on the other side
  EXPECT_EQ(2, p.track(1).pass_state);
  walk(p, {{1600.0, -1200.0}, {3000.0, 0.0}});  // exactly 2000 mm: outside the band; on the axis: neither side
  EXPECT_EQ(0, p.m_countIn + p.m_countOut);
  EXPECT_EQ(2, p.track(1).pass_state);
  walk(p, {{1500.0, -2000.0}});  // exactly 2500 mm, first side
  EXPECT_EQ(0, p.m_countIn);
  EXPECT_EQ(1, p.m_countOut);
  TrackerProbe& far = newTrackerProbe();  // beyond the 4000 mm area nothing arms
  walk(far, {{4000.0, -3000.0}});
  EXPECT_EQ(0, far.track(1).pass_state);
}

TEST(Motion, SpeedAndHeadingOfTheMeasuredPathAcrossTheClockWrap) {
  TrackerProbe& p = newTrackerProbe();
  TrackRecord& t = p.track(1);
  p.occupy(1, 2000.0, 0.0);
  t.path_y[2] = 1700.0;  // 300 mm along +y and 400 mm toward -x in 0.5 s
  t.path_x[2] = 400.0;
  t.prev_assoc_clock = INT_MAX - 249;
  t.assoc_clock = INT_MIN + 250;
  p.updateMotion(1);
  EXPECT_EQ(1000.0, t.speed_hist[1]);
  EXPECT_NEAR(53.130102, t.heading_hist[1], 1e-6);
  t.prev_assoc_clock = INT_MIN;  // 2000 mm/s: a jump, not recorded
  p.updateMotion(1);
  EXPECT_EQ(1000.0, t.speed_hist[1]);
  EXPECT_EQ(0.0, t.speed_hist[2]);
  t.speed_hist[1] = 2000.0;  // nor does a recorded 2000.0 give a heading
  p.updateMotion(1);
  EXPECT_EQ(0.0, t.heading_hist[3]);
  t.prev_assoc_clock = t.assoc_clock;  // two bindings in one millisecond
  p.updateMotion(1);
  EXPECT_EQ(2000.0, t.speed_hist[1]);
  EXPECT_EQ(2000.0, t.est_range[1]);
}

TEST(Generator, MicrosoftSequenceFromStateOne) {
  TrackerProbe& p = newTrackerProbe();
  for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(expected, p.drawRandom());
}
