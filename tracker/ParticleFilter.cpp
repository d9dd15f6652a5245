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

// A random walk of up to amplitude * 100 along each axis.
void walkParticles(TrackRecord& track, double amplitude, const int32_t* draws) {
  for (int k = 0; k < kParticleCount; ++k) {
    track.particle_y[k] += amplitude * (draws[2 * k] % 200 - 100);
    track.particle_x[k] += amplitude * (draws[2 * k + 1] % 200 - 100);
  }
}

}  // namespace

int32_t Strolvex::bindingsOf(int i) {
  int32_t bindings = 0;
  for (int j = 1; j <= slotsInUse(m_Human_NUM); ++j) bindings += m_assocPair[i][j];
  return bindings;
}

// Prediction draws two numbers per particle of a busy slot that is bound
// to at most one candidate; a free slot moves nothing.
int Strolvex::predictionDraws(int i) {
  if (m_tracks[i].track_id == 1) return 0;
  const int32_t bindings = bindingsOf(i);
  return bindings == 0 || bindings == 1 ? 2 * kParticleCount : 0;
}

void Strolvex::drawForCycle() {
  int32_t count = 0;
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    m_resampleDrawsAt[i] = count;
    count += kParticleCount;
    m_predictionDrawsAt[i] = count;
    count += predictionDraws(i);
  }
  m_random.fill(m_cycleDraws, count);
}

void Strolvex::resampleParticles() {
  const int n = slotsInUse(m_Human_NUM);
  // Every slot's running sum in one pass: the slots' addition chains
  // overlap instead of following one another.
  double cumulative[kParticleCount][kSlotTableSize];
  for (int i = 1; i <= n; ++i) cumulative[0][i] = m_tracks[i].particle_weight[0];
  for (int k = 1; k < kParticleCount; ++k)
    for (int i = 1; i <= n; ++i)
      cumulative[k][i] = cumulative[k - 1][i] + m_tracks[i].particle_weight[k];

  for (int i = 1; i <= n; ++i) {
    TrackRecord& track = m_tracks[i];
    TrackRecord& copy = m_trackScratch[i];
    const double total = cumulative[kParticleCount - 1][i];
    std::copy(track.particle_y, track.particle_y + kParticleCount, copy.particle_y);
    std::copy(track.particle_x, track.particle_x + kParticleCount, copy.particle_x);

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
      while (j < kParticleCount - 1 && !(cumulative[j][i] >= target)) ++j;
      pick[m] = j;
    }
    const int32_t* draws = m_cycleDraws + m_resampleDrawsAt[i];
    for (int k = 0; k < kParticleCount; ++k) {
      const int chosen = pick[draws[k] % DrawFractions::kCount];
      track.particle_y[k] = copy.particle_y[chosen];
      track.particle_x[k] = copy.particle_x[chosen];
      track.particle_weight[k] = 1.0;
    }
  }
}

void Strolvex::predictParticles() {
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    if (predictionDraws(i) == 0) continue;
    TrackRecord& track = m_tracks[i];
    // Per particle the y draw, then the x draw.
    const int32_t* draws = m_cycleDraws + m_predictionDrawsAt[i];
    const double newestSpeed = track.speed_hist[1];
    if (bindingsOf(i) == 0) {
      if (newestSpeed > 300.0 && track.est_range[1] < m_StrolvexData) {
        // Coasting along the heading by the distance the newest speed
        // covers over the latest association interval, spread by the draws.
        const double dt =
            elapsedBetween(track.assoc_clock, track.prev_assoc_clock) / 1000.0;
        const double s = newestSpeed * dt;
        const double theta = track.heading_hist[1] * kPi / 180;
        const double stepY = std::cos(theta) * s / 20.0;
        const double stepX = -std::sin(theta) * s / 20.0;
        for (int k = 0; k < kParticleCount; ++k) {
          track.particle_y[k] += stepY * (draws[2 * k] % 100 - 20);
          track.particle_x[k] += stepX * (draws[2 * k + 1] % 100 - 20);
        }
        continue;
      }
      walkParticles(track, 4.0, draws);
      continue;
    }
    double amplitude = 0.0;
    if (newestSpeed < 200.0)
      amplitude = 1.0;
    else if (newestSpeed > 200.0)
      amplitude = 2.0;
    // Fast tracks, and tracks whose speed was not renewed, spread wider.
    if (newestSpeed > 700.0 || newestSpeed == track.speed_hist[2]) amplitude = 4.0;
    walkParticles(track, amplitude, draws);
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

void Strolvex::estimatePositions() {
  const int n = slotsInUse(m_Human_NUM);
  // Every slot's weighted sums in one pass, so that the slots' addition
  // chains overlap; each sum still adds its particles in order.
  double sumW[kSlotTableSize] = {};
  double sumY[kSlotTableSize] = {};
  double sumX[kSlotTableSize] = {};
  for (int k = 0; k < kParticleCount; ++k) {
    for (int i = 1; i <= n; ++i) {
      const TrackRecord& track = m_tracks[i];
      const double w = track.particle_weight[k];
      sumW[i] += w;
      sumY[i] += w * track.particle_y[k];
      sumX[i] += w * track.particle_x[k];
    }
  }
  for (int i = 1; i <= n; ++i) {
    if (sumW[i] == 0.0) continue;
    pushHistory(m_tracks[i].est_y, 100, truncateToWhole(sumY[i] / sumW[i]), 1);
    pushHistory(m_tracks[i].est_x, 100, truncateToWhole(sumX[i] / sumW[i]), 1);
  }
}
