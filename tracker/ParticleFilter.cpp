// Each track's particle filter: resample on last cycle's weights, move the
// particles, weigh them against the bound observation and average them into
// the new position estimate. The order of the random draws is fixed (slot by
// slot; resampling's 100 draws, then prediction's y draw before its x draw
// per particle) so that a recording replays to the same tracks.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "component/ProcessorFeatures.h"
#include "component/Strolvex.h"
#include "tracker/HypotPair.h"
#include "tracker/ParticleSteps.h"
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
  // Whether ascending[a] has the very fraction of ascending[a - 1] (a lifted
  // draw and an unlifted one often do): the same target, the same pick.
  bool repeatsPrevious[kCount];

  DrawFractions() {
    for (int m = 0; m < kCount; ++m) {
      double u = m / 100.0;
      if (u < 0.6) u = u + 0.4;
      fraction[m] = u;
      ascending[m] = m;
    }
    std::stable_sort(ascending, ascending + kCount,
                     [this](int a, int b) { return fraction[a] < fraction[b]; });
    for (int a = 0; a < kCount; ++a)
      repeatsPrevious[a] = a > 0 && fraction[ascending[a]] == fraction[ascending[a - 1]];
  }
};

const DrawFractions kDrawFractions;

#if defined(__SSE2__)
// The weighing below in lanes of V (a GCC vector of doubles): each lane
// does the one-at-a-time code's operations, so the bits are the same.
template <class V, class Mask, class Lanes>
__attribute__((always_inline)) inline void cappedDistanceLanes(const TrackRecord& track, double* distance) {
  for (int k = 0; k < kParticleCount; k += sizeof(V) / sizeof(double)) {
    V y, x, d;
    std::memcpy(&y, track.particle_y + k, sizeof y);
    std::memcpy(&x, track.particle_x + k, sizeof x);
    particle_steps::hypotLanes<V, Mask, Lanes>(track.obs_y[1] - y, track.obs_x[1] - x, d);
    d = d < kDistanceCap ? d : kDistanceCap;
    std::memcpy(distance + k, &d, sizeof d);
  }
}

template <class V>
__attribute__((always_inline)) inline void weightLanes(const double* distance, double farthest, double* weight) {
  for (int k = 0; k < kParticleCount; k += sizeof(V) / sizeof(double)) {
    V w;
    std::memcpy(&w, distance + k, sizeof w);
    w = 1.0 - w / farthest;
    std::memcpy(weight + k, &w, sizeof w);
  }
}

// Processors with AVX weigh four particles per register.
__attribute__((target("avx"))) void cappedDistancesFourAtATime(const TrackRecord& track, double* distance) {
  cappedDistanceLanes<__m256d, particle_steps::FourMasks, particle_steps::AvxLanes>(track, distance);
}

__attribute__((target("avx"))) void weightsFourAtATime(const double* distance, double farthest, double* weight) {
  weightLanes<__m256d>(distance, farthest, weight);
}
static_assert(kParticleCount % 4 == 0, "particles go four to a register");
#endif

// A resampling walk reads four cumulative weights at a time, up to three
// past the last particle.
const int kWalkPadding = 4;

// Bit k set when entry k of the four from `at` does not reach target.
inline int fourBelow(const double* at, double target) {
#if defined(__SSE2__)
  const __m128d t = _mm_set1_pd(target);
  const int reached = _mm_movemask_pd(_mm_cmpge_pd(_mm_loadu_pd(at), t)) |
                      _mm_movemask_pd(_mm_cmpge_pd(_mm_loadu_pd(at + 2), t)) << 2;
  return ~reached & 0xf;
#else
  int below = 0;
  for (int k = 0; k < 4; ++k) below |= !(at[k] >= target) << k;
  return below;
#endif
}

#if defined(__SSE2__)
// The running sums of the weights of slots first..first + 2 * Pairs - 1,
// two slots per register, every addition in its slot's order.
template <int Pairs>
void cumulativeSums(const TrackRecord* tracks, int first,
                    double (*cumulative)[kParticleCount + kWalkPadding]) {
  auto weights = [tracks, first](int p, int k) {
    const int i = first + 2 * p;
    return _mm_loadh_pd(_mm_load_sd(tracks[i].particle_weight + k), tracks[i + 1].particle_weight + k);
  };
  auto store = [cumulative, first](int p, int k, __m128d sum) {
    _mm_storel_pd(&cumulative[first + 2 * p][k], sum);
    _mm_storeh_pd(&cumulative[first + 2 * p + 1][k], sum);
  };
  __m128d sum[Pairs];
  for (int p = 0; p < Pairs; ++p) {
    sum[p] = weights(p, 0);
    store(p, 0, sum[p]);
  }
  for (int k = 1; k < kParticleCount; ++k) {
    for (int p = 0; p < Pairs; ++p) {
      sum[p] = _mm_add_pd(sum[p], weights(p, k));
      store(p, k, sum[p]);
    }
  }
}
#endif

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
  // Each slot's running sum of its weights, two slots side by side; past
  // the end, entries that every target reaches.
  double cumulative[kSlotTableSize][kParticleCount + kWalkPadding];
  int i = 1;
#if defined(__SSE2__)
  // Up to six slots' sums in flight at once, so that no sum waits on the
  // addition before it.
  for (; i + 5 <= n; i += 6) cumulativeSums<3>(m_tracks, i, cumulative);
  for (; i + 3 <= n; i += 4) cumulativeSums<2>(m_tracks, i, cumulative);
  for (; i + 1 <= n; i += 2) cumulativeSums<1>(m_tracks, i, cumulative);
#endif
  for (; i <= n; ++i) {
    const double* w = m_tracks[i].particle_weight;
    cumulative[i][0] = w[0];
    for (int k = 1; k < kParticleCount; ++k) cumulative[i][k] = cumulative[i][k - 1] + w[k];
  }

  // The copy a fraction picks is the first of particles 1..98 whose
  // cumulative weight reaches that fraction of the total, else the last
  // one; particle 0 is never chosen. Weights lie in [0, 1], so cumulative
  // weights never fall and one walk up them, taking the fractions in
  // ascending order, finds every fraction's pick. A target that does not
  // compare falls through to the last particle. The walks of all slots go
  // together, fraction by fraction, each looking four particles ahead at a
  // time, so no slot waits on a branch its weights decide.
  int pick[kSlotTableSize][DrawFractions::kCount];
  int walked[kSlotTableSize];
  for (i = 1; i <= n; ++i) {
    walked[i] = 1;
    std::fill(cumulative[i] + kParticleCount, cumulative[i] + kParticleCount + kWalkPadding,
              std::numeric_limits<double>::infinity());
  }
  for (int a = 0; a < DrawFractions::kCount; ++a) {
    const int m = kDrawFractions.ascending[a];
    if (kDrawFractions.repeatsPrevious[a]) {
      for (i = 1; i <= n; ++i) pick[i][m] = walked[i];
      continue;
    }
    for (i = 1; i <= n; ++i) {
      const double target = kDrawFractions.fraction[m] * cumulative[i][kParticleCount - 1];
      int j = walked[i];
      while (j < kParticleCount - 1) {
        const int below = fourBelow(cumulative[i] + j, target);
        if (below != 0xf) {
          j += __builtin_ctz(~below);
          break;
        }
        j += 4;
      }
      walked[i] = pick[i][m] = std::min(j, kParticleCount - 1);
    }
  }

  for (i = 1; i <= n; ++i) {
    TrackRecord& track = m_tracks[i];
    TrackRecord& copy = m_trackScratch[i];
    std::copy(track.particle_y, track.particle_y + kParticleCount, copy.particle_y);
    std::copy(track.particle_x, track.particle_x + kParticleCount, copy.particle_x);
    int32_t fractionOf[kParticleCount];
    particle_steps::hundredths(m_cycleDraws + m_resampleDrawsAt[i], fractionOf);
    for (int k = 0; k < kParticleCount; ++k) {
      const int chosen = pick[i][fractionOf[k]];
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
        particle_steps::coast(track.particle_y, track.particle_x, stepY, stepX, draws);
        continue;
      }
      particle_steps::walk(track.particle_y, track.particle_x, 4.0, draws);
      continue;
    }
    double amplitude = 0.0;
    if (newestSpeed < 200.0)
      amplitude = 1.0;
    else if (newestSpeed > 200.0)
      amplitude = 2.0;
    // Fast tracks, and tracks whose speed was not renewed, spread wider.
    if (newestSpeed > 700.0 || newestSpeed == track.speed_hist[2]) amplitude = 4.0;
    particle_steps::walk(track.particle_y, track.particle_x, amplitude, draws);
  }
}

void Strolvex::weighParticles(int i) {
  TrackRecord& track = m_tracks[i];
  double distance[kParticleCount];
  int k = 0;
#if defined(__SSE2__)
  const bool avx = processorHasAvx();
  if (avx)
    cappedDistancesFourAtATime(track, distance);
  else
    cappedDistanceLanes<__m128d, particle_steps::TwoMasks, particle_steps::Sse2Lanes>(track, distance);
  k = kParticleCount;
#endif
  for (; k < kParticleCount; ++k) {
    const double d = std::hypot(track.obs_y[1] - track.particle_y[k],
                                track.obs_x[1] - track.particle_x[k]);
    // A distance that does not compare counts as far.
    distance[k] = d < kDistanceCap ? d : kDistanceCap;
  }
  // The largest distance is the same whichever order they are compared in.
  double farthest = 0.0;
  k = 0;
#if defined(__SSE2__)
  __m128d largest = _mm_setzero_pd();
  for (; k + 2 <= kParticleCount; k += 2) largest = _mm_max_pd(_mm_loadu_pd(distance + k), largest);
  farthest = std::max(_mm_cvtsd_f64(largest), _mm_cvtsd_f64(_mm_unpackhi_pd(largest, largest)));
#endif
  for (; k < kParticleCount; ++k)
    if (distance[k] > farthest) farthest = distance[k];
  // Every particle on the observation: all equally right.
  if (farthest == 0.0) {
    std::fill(track.particle_weight, track.particle_weight + kParticleCount, 1.0);
    return;
  }
  k = 0;
#if defined(__SSE2__)
  if (avx)
    weightsFourAtATime(distance, farthest, track.particle_weight);
  else
    weightLanes<__m128d>(distance, farthest, track.particle_weight);
  k = kParticleCount;
#endif
  for (; k < kParticleCount; ++k) track.particle_weight[k] = 1 - distance[k] / farthest;
}

void Strolvex::estimatePositions() {
  const int n = slotsInUse(m_Human_NUM);
  // Each sum adds its particles in order; two slots side by side.
  double sumW[kSlotTableSize];
  double sumY[kSlotTableSize];
  double sumX[kSlotTableSize];
  int i = 1;
#if defined(__SSE2__)
  for (; i + 1 <= n; i += 2) {
    const TrackRecord& a = m_tracks[i];
    const TrackRecord& b = m_tracks[i + 1];
    __m128d w = _mm_setzero_pd(), y = _mm_setzero_pd(), x = _mm_setzero_pd();
    for (int k = 0; k < kParticleCount; ++k) {
      const __m128d weight = _mm_loadh_pd(_mm_load_sd(a.particle_weight + k), b.particle_weight + k);
      w = _mm_add_pd(w, weight);
      y = _mm_add_pd(y, _mm_mul_pd(weight, _mm_loadh_pd(_mm_load_sd(a.particle_y + k), b.particle_y + k)));
      x = _mm_add_pd(x, _mm_mul_pd(weight, _mm_loadh_pd(_mm_load_sd(a.particle_x + k), b.particle_x + k)));
    }
    _mm_storeu_pd(sumW + i, w);
    _mm_storeu_pd(sumY + i, y);
    _mm_storeu_pd(sumX + i, x);
  }
#endif
  for (; i <= n; ++i) {
    const TrackRecord& track = m_tracks[i];
    sumW[i] = sumY[i] = sumX[i] = 0.0;
    for (int k = 0; k < kParticleCount; ++k) {
      const double w = track.particle_weight[k];
      sumW[i] += w;
      sumY[i] += w * track.particle_y[k];
      sumX[i] += w * track.particle_x[k];
    }
  }
  for (i = 1; i <= n; ++i) {
    if (sumW[i] == 0.0) continue;
    pushHistory(m_tracks[i].est_y, 100, truncateToWhole(sumY[i] / sumW[i]), 1);
    pushHistory(m_tracks[i].est_x, 100, truncateToWhole(sumX[i] / sumW[i]), 1);
  }
}
