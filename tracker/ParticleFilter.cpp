// Each track's particle filter: resample on last cycle's weights, move the
// particles, weigh them against the bound observation and average them into
// the new position estimate. The order of the random draws is fixed (slot by
// slot; resampling's 100 draws, then prediction's y draw before its x draw
// per particle) so that a recording replays to the same tracks.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"
#include "tracker/TrackerConstants.h"

namespace {

// Distances are capped so that far particles (a free slot's empty markers)
// all weigh the same.
const double kDistanceCap = 9999.0;

// A resampling draw r aims at a fixed fraction of the total weight, chosen
// by r % 100; draws below 0.6 are lifted so copies come only from the upper
// 60 % of the cumulative weight.
struct DrawFractions {
  static const int kCount = 100;
  double fraction[kCount];
  int ascending[kCount];  // indices into fraction, smallest fraction first

  DrawFractions() {
    for (int m = 0; m < kCount; ++m) {
      double u = m / 100.0;
      if (u < 0.6) u = u + 0.4;
      fraction[m] = u;
      ascending[m] = m;
    }
    std::stable_sort(ascending, ascending + kCount,
                     [this](int a, int b) { return fraction[a] < fraction[b]; });
  }
};

const DrawFractions kDrawFractions;

}  // namespace

void Strolvex::resampleParticles(int i) {
  TrackRecord& track = m_tracks[i];
  TrackRecord& copy = m_trackScratch[i];
  double cumulative[kParticleCount];
  cumulative[0] = track.particle_weight[0];
  for (int k = 1; k < kParticleCount; ++k)
    cumulative[k] = cumulative[k - 1] + track.particle_weight[k];
  const double total = cumulative[kParticleCount - 1];

  for (int k = 0; k < kParticleCount; ++k) {
    copy.particle_y[k] = track.particle_y[k];
    copy.particle_x[k] = track.particle_x[k];
  }

  // The copy a fraction picks is the first of particles 1..98 whose
  // cumulative weight reaches that fraction of the total, else the last
  // one; particle 0 is never chosen. Weights lie in [0, 1], so cumulative
  // weights never fall and one walk up them, taking the fractions in
  // ascending order, finds every fraction's pick. A target that does not
  // compare falls through to the last particle.
  int pick[DrawFractions::kCount];
  int j = 1;
  for (int m : kDrawFractions.ascending) {
    const double target = kDrawFractions.fraction[m] * total;
    while (j < kParticleCount - 1 && !(cumulative[j] >= target)) ++j;
    pick[m] = j;
  }
  for (int k = 0; k < kParticleCount; ++k) {
    const int chosen = pick[drawRandom() % DrawFractions::kCount];
    track.particle_y[k] = copy.particle_y[chosen];
    track.particle_x[k] = copy.particle_x[chosen];
    track.particle_weight[k] = 1.0;
  }
}

void Strolvex::predictParticles(int i) {
  TrackRecord& track = m_tracks[i];
  if (track.track_id == 1) return;
  int32_t bindings = 0;
  for (int j = 1; j <= slotsInUse(m_Human_NUM); ++j) bindings += m_assocPair[i][j];

  const double newestSpeed = track.speed_hist[1];
  if (bindings == 0) {
    if (newestSpeed > 300.0 && track.est_range[1] < m_StrolvexData) {
      // Coasting along the heading by the distance the newest speed covers
      // over the latest association interval, spread by the draws.
      const double dt =
          elapsedBetween(track.assoc_clock, track.prev_assoc_clock) / 1000.0;
      const double s = newestSpeed * dt;
      const double theta = track.heading_hist[1] * kPi / 180;
      for (int k = 0; k < kParticleCount; ++k) {
        const int32_t ny = drawRandom() % 100 - 20;
        track.particle_y[k] += std::cos(theta) * s / 20.0 * ny;
        const int32_t nx = drawRandom() % 100 - 20;
        track.particle_x[k] += -std::sin(theta) * s / 20.0 * nx;
      }
    } else {
      for (int k = 0; k < kParticleCount; ++k) {
        track.particle_y[k] += 4.0 * (drawRandom() % 200 - 100);
        track.particle_x[k] += 4.0 * (drawRandom() % 200 - 100);
      }
    }
  } else if (bindings == 1) {
    double amplitude = 0.0;
    if (newestSpeed < 200.0)
      amplitude = 1.0;
    else if (newestSpeed > 200.0)
      amplitude = 2.0;
    // Fast tracks, and tracks whose speed was not renewed, spread wider.
    if (newestSpeed > 700.0 || newestSpeed == track.speed_hist[2]) amplitude = 4.0;
    for (int k = 0; k < kParticleCount; ++k) {
      track.particle_y[k] += amplitude * (drawRandom() % 200 - 100);
      track.particle_x[k] += amplitude * (drawRandom() % 200 - 100);
    }
  }
}

void Strolvex::weighParticles(int i) {
  TrackRecord& track = m_tracks[i];
  double distance[kParticleCount];
  for (int k = 0; k < kParticleCount; ++k) {
    const double d = std::hypot(track.obs_y[1] - track.particle_y[k],
                                track.obs_x[1] - track.particle_x[k]);
    // A distance that does not compare counts as far.
    distance[k] = d < kDistanceCap ? d : kDistanceCap;
  }
  double farthest = 0.0;
  for (int k = 0; k < kParticleCount; ++k)
    if (distance[k] > farthest) farthest = distance[k];
  for (int k = 0; k < kParticleCount; ++k) {
    // Every particle on the observation: all equally right.
    track.particle_weight[k] = farthest == 0.0 ? 1.0 : 1 - distance[k] / farthest;
  }
}

void Strolvex::estimatePosition(int i) {
  TrackRecord& track = m_tracks[i];
  double sumW = 0.0;
  double sumY = 0.0;
  double sumX = 0.0;
  for (int k = 0; k < kParticleCount; ++k) {
    const double w = track.particle_weight[k];
    sumW += w;
    sumY += w * track.particle_y[k];
    sumX += w * track.particle_x[k];
  }
  if (sumW == 0.0) return;
  pushHistory(track.est_y, 100, truncateToWhole(sumY / sumW), 1);
  pushHistory(track.est_x, 100, truncateToWhole(sumX / sumW), 1);
}
