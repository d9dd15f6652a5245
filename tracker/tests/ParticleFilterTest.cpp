// Resampling, prediction, weighting and estimation of one slot's particles.
#include <cmath>

#include "tracker/tests/TrackerProbe.h"

TEST(Draws, ACycleFilledUpFrontGivesTheSequenceOfSingleDraws) {
  // Counts around the sixteen-way interleaving, from several places in the
  // sequence, and the sequence goes on from where the fill ended.
  for (int skipped : {0, 1, 3, 70000}) {
    for (int count : {0, 1, 3, 4, 15, 16, 17, 31, 32, 33, 300, 1800, 3000}) {
      MsvcRandom filled, single;
      for (int k = 0; k < skipped; ++k) filled.next(), single.next();
      int32_t draws[3000];
      filled.fill(draws, count);
      for (int k = 0; k < count; ++k)
        ASSERT_EQ(single.next(), draws[k]) << skipped << " skipped, draw " << k << " of " << count;
      EXPECT_EQ(single.next(), filled.next()) << skipped << " skipped, " << count << " filled";
    }
  }
}

TEST(Resampling, EachDrawCopiesTheFirstParticleReachingItsShareOfTheTotal) {
  // Random weights with many zeros (equal cumulative sums; all zero too):
  // draws from the upper 60 % of the total, never particle 0, weights reset.
  uint32_t seed = 3;
  const auto random = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
  TrackerProbe& p = newTrackerProbe();
  p.m_Human_NUM = 1;
  TrackRecord& t = p.track(1);
  MsvcRandom reference;
  for (int round = 0; round < 50; ++round) {
    double cumulative[kParticleCount];
    for (int k = 0; k < kParticleCount; ++k) {
      t.particle_y[k] = 1000.0 + k;
      t.particle_x[k] = -k;
      t.particle_weight[k] = round % 10 == 0 || random() % 3 == 0 ? 0.0 : (random() % 101) / 100.0;
      cumulative[k] = (k == 0 ? 0.0 : cumulative[k - 1]) + t.particle_weight[k];
    }
    p.drawForCycle();
    p.resampleParticles();
    for (int k = 0; k < kParticleCount; ++k) {
      double u = (reference.next() % 100) / 100.0;
      if (u < 0.6) u = u + 0.4;
      const double target = u * cumulative[kParticleCount - 1];
      int j = 1;
      while (j < kParticleCount - 1 && !(cumulative[j] >= target)) ++j;
      ASSERT_EQ(1000.0 + j, t.particle_y[k]) << "round " << round << " particle " << k;
      ASSERT_EQ(-j, t.particle_x[k]);
      ASSERT_EQ(1.0, t.particle_weight[k]);
    }
  }
}

// Slot 1 busy (bound to a candidate or coasting), its particles where a
// fresh slot keeps them; each particle draws two steps of the given amplitude.
TEST(Prediction, RandomWalkAmplitudes) {
  struct Case { bool bound; double newest, previous, estRange, amplitude; };
  for (const Case& c : {Case{true, 200.0, 150.0, 1000.0, 0.0},  // exactly 200: no spread
                        Case{true, 199.0, 150.0, 1000.0, 1.0}, Case{true, 700.0, 650.0, 1000.0, 2.0},
                        Case{true, 700.5, 650.0, 1000.0, 4.0}, Case{true, 200.0, 200.0, 1000.0, 4.0},
                        Case{false, 300.0, 300.0, 1000.0, 4.0},    // coasting at 300.0 walks
                        Case{false, 500.0, 500.0, 2500.0, 4.0}}) {  // coasting at StrolvexData walks
    TrackerProbe& p = newTrackerProbe();
    TrackRecord& t = p.track(1);
    t.track_id = 2;
    p.m_assocPair[1][6] = c.bound ? 1 : 0;  // the last candidate in use
    t.speed_hist[1] = c.newest;
    t.speed_hist[2] = c.previous;
    t.est_range[1] = c.estRange;
    p.drawForCycle();
    p.predictParticles();
    MsvcRandom reference;
    for (int k = 0; k < kParticleCount; ++k) reference.next();  // slot 1's resampling
    for (int k = 0; k < kParticleCount; ++k) {
      ASSERT_EQ(kEmptyValue + c.amplitude * (reference.next() % 200 - 100), t.particle_y[k]) << c.newest << " " << k;
      ASSERT_EQ(kEmptyValue + c.amplitude * (reference.next() % 200 - 100), t.particle_x[k]) << c.newest << " " << k;
    }
    for (int k = 0; k < 5 * kParticleCount; ++k) reference.next();  // the free slots' resampling
    EXPECT_EQ(reference.next(), p.drawRandom()) << "two draws per particle";
  }
}

// Coasting near, at 500 mm/s for 2 s: 1000 mm along the heading, a
// twentieth per unit drawn. A free slot draws for resampling only.
TEST(Prediction, CoastingNearTrackMovesAlongItsHeadingAndFreeSlotsDrawNothing) {
  TrackerProbe& p = newTrackerProbe();
  TrackRecord& t = p.track(1);
  t.track_id = 2;
  t.speed_hist[1] = t.speed_hist[2] = 500.0;
  t.est_range[1] = 2000.0;
  t.heading_hist[1] = -45.0;  // toward +x and +y
  t.prev_assoc_clock = 3000;
  t.assoc_clock = 5000;
  p.drawForCycle();
  p.predictParticles();
  const double step = 1000.0 / 20.0 * std::sqrt(0.5);
  MsvcRandom reference;
  for (int k = 0; k < kParticleCount; ++k) reference.next();  // slot 1's resampling
  for (int k = 0; k < kParticleCount; ++k) {
    ASSERT_NEAR(kEmptyValue + step * (int(reference.next() % 100) - 20), t.particle_y[k], 1e-6) << k;
    ASSERT_NEAR(kEmptyValue + step * (int(reference.next() % 100) - 20), t.particle_x[k], 1e-6) << k;
  }
  t.track_id = 1;
  p.drawForCycle();
  p.predictParticles();
  // The first cycle's five free slots, then all six slots, resample only.
  for (int k = 0; k < 11 * kParticleCount; ++k) reference.next();
  EXPECT_EQ(reference.next(), p.drawRandom()) << "a free slot draws for resampling only";
  t.track_id = 2;
  p.m_assocPair[1][1] = p.m_assocPair[1][2] = 1;
  p.drawForCycle();
  p.predictParticles();
  for (int k = 0; k < 6 * kParticleCount; ++k) reference.next();
  EXPECT_EQ(reference.next(), p.drawRandom()) << "nor does a slot bound to two candidates";
}

TEST(WeightingAndEstimation, WeightsFallWithDistanceAndTheMeanIsTruncated) {
  TrackerProbe& p = newTrackerProbe();
  TrackRecord& t = p.track(1);
  t.obs_y[1] = t.obs_x[1] = kEmptyValue;  // on every particle of the free slot
  t.particle_y[0] = kEmptyValue + 20000.0;  // counts as 9999 mm
  t.particle_y[1] = kEmptyValue + 3000.0;
  p.weighParticles(1);
  EXPECT_EQ(0.0, t.particle_weight[0]);
  EXPECT_EQ(1 - 3000.0 / 9999.0, t.particle_weight[1]);
  EXPECT_EQ(1.0, t.particle_weight[2]);

  TrackerProbe& q = newTrackerProbe();
  TrackRecord& e = q.track(1);
  q.estimatePositions();  // all weights 0: nothing pushed
  EXPECT_EQ(kEmptyValue, e.est_y[1]);
  e.particle_weight[3] = e.particle_weight[4] = 0.5;
  e.particle_y[3] = -0.4;
  e.particle_y[4] = -1.0;
  e.particle_x[3] = 812.8;
  e.particle_x[4] = 813.0;
  q.estimatePositions();
  EXPECT_EQ(0.0, e.est_y[1]);
  EXPECT_FALSE(std::signbit(e.est_y[1]));
  EXPECT_EQ(812.0, e.est_x[1]);
  EXPECT_EQ(kEmptyValue, e.est_y[2]);
}
