// Resampling, prediction, weighting and estimation of one slot's particles.
#include <cmath>

#include "tracker/tests/TrackerProbe.h"

namespace {

void spreadParticles(TrackRecord& t) {
  for (int k = 0; k < kParticleCount; ++k) {
    t.particle_y[k] = 1000.0 + k;
    t.particle_x[k] = -k;
  }
}

// Slot 1 busy, its particles where a fresh slot keeps them.
void prepareBusySlot(TrackerProbe& p, bool bound, double newestSpeed, double previousSpeed,
                     double estRange) {
  TrackRecord& t = p.track(1);
  t.track_id = 2;
  p.m_assocPair[1][4] = bound ? 1 : 0;
  t.speed_hist[1] = newestSpeed;
  t.speed_hist[2] = previousSpeed;
  t.est_range[1] = estRange;
}

// The sequence after count draws.
MsvcRandom afterDraws(int count) {
  MsvcRandom random;
  for (int k = 0; k < count; ++k) random.next();
  return random;
}

}  // namespace

TEST(Draws, ACycleFilledUpFrontGivesTheSequenceOfSingleDraws) {
  // Counts around the four-way interleaving, from several places in the
  // sequence, and the sequence goes on from where the fill ended.
  for (int skipped : {0, 1, 3, 70000}) {
    for (int count : {0, 1, 3, 4, 5, 7, 8, 9, 300, 1800, 3000}) {
      MsvcRandom filled = afterDraws(skipped);
      MsvcRandom single = afterDraws(skipped);
      int32_t draws[3000];
      filled.fill(draws, count);
      for (int k = 0; k < count; ++k)
        ASSERT_EQ(single.next(), draws[k]) << skipped << " skipped, draw " << k << " of " << count;
      EXPECT_EQ(single.next(), filled.next()) << skipped << " skipped, " << count << " filled";
    }
  }
}

TEST(Resampling, EachDrawCopiesTheFirstParticleReachingItsShareOfTheTotal) {
  // Random weights with many zeros (equal cumulative sums), each draw
  // checked against a walk up the cumulative weights.
  uint32_t seed = 3;
  const auto random = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
  TrackerProbe& p = newTrackerProbe();
  p.m_Human_NUM = 1;
  MsvcRandom reference;
  for (int round = 0; round < 50; ++round) {
    TrackRecord& t = p.track(1);
    spreadParticles(t);
    double cumulative[kParticleCount];
    for (int k = 0; k < kParticleCount; ++k) {
      t.particle_weight[k] = random() % 3 == 0 ? 0.0 : (random() % 101) / 100.0;
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
    }
  }
}

TEST(Resampling, DrawsFromTheUpperSixtyPercentAndNeverPickParticleZero) {
  for (double leadingWeight : {0.0, 1.0}) {  // weights all zero, or (1, 0, ...)
    TrackerProbe& p = newTrackerProbe();
    TrackRecord& t = p.track(1);
    spreadParticles(t);
    t.particle_weight[0] = leadingWeight;
    p.drawForCycle();
    p.resampleParticles();
    for (int k = 0; k < kParticleCount; ++k) {
      ASSERT_EQ(1001.0, t.particle_y[k]);
      ASSERT_EQ(-1.0, t.particle_x[k]);
      ASSERT_EQ(1.0, t.particle_weight[k]);
    }
  }
  // Cumulative weight 1 from particle 10, 2 from 50, 3 from 75: draws of
  // 0.40..0.66 of the total pick particle 50, 0.67..0.99 particle 75, and
  // particle 10 lies below every draw.
  TrackerProbe& p = newTrackerProbe();
  TrackRecord& t = p.track(1);
  spreadParticles(t);
  for (int k : {10, 50, 75}) t.particle_weight[k] = 1.0;
  p.drawForCycle();
  p.resampleParticles();
  MsvcRandom reference;
  for (int k = 0; k < kParticleCount; ++k) {
    int percent = reference.next() % 100;
    if (percent < 60) percent += 40;
    ASSERT_EQ(percent <= 66 ? 1050.0 : 1075.0, t.particle_y[k]) << "particle " << k;
  }
}

TEST(Prediction, RandomWalkAmplitudes) {
  struct Case { bool bound; double newest, previous, estRange, amplitude; };
  const Case cases[] = {
      {true, 200.0, 150.0, 1000.0, 0.0},  // exactly 200: no spread
      {true, 199.0, 150.0, 1000.0, 1.0},   {true, 700.0, 650.0, 1000.0, 2.0},
      {true, 700.5, 650.0, 1000.0, 4.0},   {true, 200.0, 200.0, 1000.0, 4.0},
      {false, 300.0, 300.0, 1000.0, 4.0},  // coasting at 300.0 walks
      {false, 500.0, 500.0, 2500.0, 4.0},  // coasting at StrolvexData walks
  };
  for (const Case& c : cases) {
    TrackerProbe& p = newTrackerProbe();
    prepareBusySlot(p, c.bound, c.newest, c.previous, c.estRange);
    p.drawForCycle();
    p.predictParticles();
    MsvcRandom reference = afterDraws(kParticleCount);  // slot 1's resampling
    for (int k = 0; k < kParticleCount; ++k) {
      const double dy = c.amplitude * (reference.next() % 200 - 100);
      const double dx = c.amplitude * (reference.next() % 200 - 100);
      ASSERT_EQ(kEmptyValue + dy, p.track(1).particle_y[k]) << c.newest << " particle " << k;
      ASSERT_EQ(kEmptyValue + dx, p.track(1).particle_x[k]) << c.newest << " particle " << k;
    }
    // Then the five free slots' resampling draws, and nothing more.
    for (int k = 0; k < 5 * kParticleCount; ++k) reference.next();
    EXPECT_EQ(reference.next(), p.drawRandom()) << "two draws per particle";
  }
}

TEST(Prediction, CoastingNearTrackMovesAlongItsHeadingAndFreeSlotsDrawNothing) {
  TrackerProbe& p = newTrackerProbe();
  prepareBusySlot(p, false, 500.0, 500.0, 2000.0);
  TrackRecord& t = p.track(1);
  t.heading_hist[1] = -45.0;  // toward +x and +y
  t.prev_assoc_clock = 3000;
  t.assoc_clock = 5000;  // 2 s at 500 mm/s: 1000 mm, a twentieth per unit drawn
  p.drawForCycle();
  p.predictParticles();
  const double step = 1000.0 / 20.0 * std::sqrt(0.5);
  MsvcRandom reference = afterDraws(kParticleCount);
  for (int k = 0; k < kParticleCount; ++k) {
    const int ny = reference.next() % 100 - 20;
    const int nx = reference.next() % 100 - 20;
    ASSERT_NEAR(kEmptyValue + step * ny, t.particle_y[k], 1e-6) << "particle " << k;
    ASSERT_NEAR(kEmptyValue + step * nx, t.particle_x[k], 1e-6) << "particle " << k;
  }

  TrackerProbe& free = newTrackerProbe();
  free.drawForCycle();
  free.predictParticles();
  EXPECT_EQ(afterDraws(6 * kParticleCount).next(), free.drawRandom())
      << "free slots draw for resampling only";
  EXPECT_EQ(kEmptyValue, free.track(1).particle_y[0]);
}

TEST(WeightingAndEstimation, WeightsFallWithDistanceAndTheMeanIsTruncated) {
  TrackerProbe& p = newTrackerProbe();
  TrackRecord& t = p.track(1);
  t.obs_y[1] = t.obs_x[1] = kEmptyValue;  // on every particle of the free slot
  p.weighParticles(1);
  EXPECT_EQ(1.0, t.particle_weight[0]);
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
