// Candidate measurement, nearest-pair binding and track start.
#include "tracker/tests/TrackerProbe.h"

TEST(CandidateMeasurement, MiddleStepStartsATrackOnTheCandidate) {
  TrackerProbe& p = newTrackerProbe();
  p.setSegment(1, 400, 421, 3000.0);
  p.m_scanWork->range[400] = 1000.0;  // only the middle step counts
  p.setSegment(3, 374, 394, 3000.0);  // straight ahead (middle step 384): no candidate
  p.measureCandidates(&p.track(0));
  const TrackRecord& t = p.track(1);
  EXPECT_EQ(410, p.m_candMidStep[1]);
  EXPECT_NEAR(2961.904, t.meas_y[1], 0.001);
  EXPECT_NEAR(476.574, t.meas_x[1], 0.001);
  EXPECT_EQ(0.0, p.track(2).meas_x[1]);  // no segment: the origin
  p.associateCandidates(&p.track(0));
  EXPECT_EQ(2, t.track_id);
  for (int slot = 2; slot <= 3; ++slot) EXPECT_EQ(1, p.track(slot).track_id);
  EXPECT_EQ(t.meas_x[1], t.particle_x[99]);
  EXPECT_EQ(t.meas_x[1] + 1.0, t.est_x[1]);
  EXPECT_EQ(t.meas_y[1], t.path_y[1]);
}

TEST(CandidateAssociation, NearestTrackTakesTheCandidate) {
  TrackerProbe& p = newTrackerProbe();
  p.occupy(2, 2000.0, 0.0);
  p.occupy(3, 2050.0, 100.0);
  p.track(3).assoc_clock = 700;
  p.setCandidate(1, 2100.0, 50.0);  // 111 mm from track 2, 70 mm from track 3
  p.clock.set(1234);
  p.associateCandidates(&p.track(0));
  const TrackRecord& bound = p.track(3);
  EXPECT_EQ(1, p.m_assocPair[3][1] - p.m_assocPair[2][1]);
  EXPECT_EQ(50.0, bound.obs_x[1]);
  EXPECT_EQ(1234, bound.assoc_clock);
  EXPECT_EQ(700, bound.prev_assoc_clock);
  EXPECT_EQ(2100.0, bound.path_y[1]);
  EXPECT_EQ(2050.0, bound.path_y[2]);
  p.setCandidate(1, 2100.0, 80.0);  // a repeated forward coordinate binds but does not grow the path
  p.associateCandidates(&p.track(0));
  EXPECT_EQ(80.0, bound.obs_x[1]);
  EXPECT_EQ(2050.0, bound.path_y[2]);
}

TEST(CandidateAssociation, TiesGoToTheLowerSlotAndZeroDistancesNeverBind) {
  TrackerProbe& p = newTrackerProbe();
  p.occupy(2, 2000.0, 400.0);
  p.occupy(4, 2000.0, 600.3);
  p.setCandidate(1, 2000.0, 500.0);  // 100 mm from both after truncation
  p.associateCandidates(&p.track(0));
  EXPECT_EQ(1, p.m_assocPair[2][1] - p.m_assocPair[4][1]);
  TrackerProbe& q = newTrackerProbe();
  q.occupy(5, 2000.0, 0.0);
  q.setCandidate(3, 1900.0, 0.5);
  q.setCandidate(2, 2100.0, 0.5);
  q.setCandidate(1, 2000.5, 0.5);  // truncates to 0 mm: no pair
  q.associateCandidates(&q.track(0));
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(c == 2 ? 1 : 0, q.m_assocPair[5][c]) << c;
}

// Strictly inside the start zone only; free slots fill lowest first, and
// when all are busy the candidate is dropped.
TEST(TrackStart, InsideTheZoneIntoTheLowestFreeSlot) {
  TrackerProbe& p = newTrackerProbe();
  p.setCandidate(1, 1680.0, 2240.0);  // exactly 2800 mm
  p.setCandidate(2, 0.0, -4000.0);    // exactly 4000 mm
  p.associateCandidates(&p.track(0));
  for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(1, p.track(slot).track_id);

  const double kFar = 50000.0;  // a track estimate no candidate can bind to
  for (int slot : {1, 3, 5, 6}) p.occupy(slot, kFar, kFar);
  p.setCandidate(1, 3000.0, 300.0);
  p.setCandidate(2, 1681.0, 2240.0);  // 2800.6 mm
  p.setCandidate(3, 3000.0, 900.0);  // no slot left
  p.associateCandidates(&p.track(0));
  EXPECT_EQ(3, p.track(2).track_id);
  EXPECT_EQ(300.0, p.track(2).particle_x[99]);
  EXPECT_EQ(7, p.track(4).track_id);
  EXPECT_EQ(1681.0, p.track(4).particle_y[0]);
  for (int slot : {1, 3, 5, 6}) EXPECT_EQ(kFar, p.track(slot).est_y[1]);
  EXPECT_EQ(kEmptyValue, p.track(7).est_y[1]) << "a slot beyond those in use";
  p.track(3).stale_count = 10;  // a slot set free takes what is left; the bound tracks keep theirs
  p.releaseStaleTracks();
  p.associateCandidates(&p.track(0));
  EXPECT_EQ(5, p.track(3).track_id);
  EXPECT_EQ(3001.0, p.track(3).est_y[1]);

  TrackerProbe& single = newTrackerProbe();  // a single slot in use still takes a candidate
  single.m_Human_NUM = 1;
  single.setCandidate(1, 3000.0, 300.0);
  single.associateCandidates(&single.track(0));
  EXPECT_EQ(2, single.track(1).track_id);

  // The busy set of all ten slots needs more than 32 bits.
  int32_t all[kSlotTableSize] = {0, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
  EXPECT_EQ(0, p.findFreeSlot(all, 0));
  all[10] = 1;
  EXPECT_EQ(10, p.findFreeSlot(all, 0));
  EXPECT_EQ(29, p.findFreeSlot(all, 1));
}
