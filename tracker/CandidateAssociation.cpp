// Binding of this scan's candidates to existing tracks, nearest pair first,
// and the start of new tracks from unbound candidates in the start zone.
#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"
#include "tracker/HypotPair.h"
#include "tracker/TrackerConstants.h"

namespace {

// Distances of 9999 mm or more never bind; the same number stands for
// "nothing found yet".
const int32_t kDistanceGate = 9999;

// Offset of a new track's first estimate from its candidate: the same
// candidate in the next scan is then over 1 mm away, which is the least
// distance that can bind (shorter ones truncate to 0, "no pair").
const double kStartOffset = 1.0;

struct Matching {
  double distance[kSlotTableSize][kSlotTableSize] = {};  // 0 = no pair possible
  bool candidateTaken[kSlotTableSize] = {};
  int32_t paired[kSlotTableSize][kSlotTableSize] = {};
};

// Each round binds the nearest pair left; of equally near pairs, the one
// with the lowest track slot, then the lowest candidate. A pair's key
// orders pairs that way: its whole distance above its track and candidate.
// A pair that cannot bind, or whose track or candidate is taken, holds no
// key, so each round is a minimum over keys with no branch on distances.
const uint32_t kNoKey = UINT32_MAX;

uint32_t pairKey(double distance, int track, int candidate) {
  if (!(distance != 0.0 && distance < kDistanceGate)) return kNoKey;
  return static_cast<uint32_t>(distance) << 8 | static_cast<uint32_t>(track) << 4 |
         static_cast<uint32_t>(candidate);
}
static_assert(kSlotTableSize <= 16, "a slot number takes four bits of a key");

}  // namespace

void Strolvex::associateCandidates(TrackRecord* tracks) {
  const int n = slotsInUse(m_Human_NUM);
  int32_t ids[kSlotTableSize] = {};
  for (int i = 1; i <= kMaxSlots; ++i) ids[i] = i <= n ? tracks[i].track_id : 1;

  Matching m;
  double candY[kSlotTableSize + 1] = {}, candX[kSlotTableSize + 1] = {};
  for (int s = 1; s <= n; ++s) {
    candY[s] = tracks[s].meas_y[1];
    candX[s] = tracks[s].meas_x[1];
  }
  for (int r = 1; r <= n; ++r) {
    if (ids[r] == 1) continue;
    int s = 1;
#if defined(__SSE2__)
    // Two candidates at a time; a slot past n computes a distance unused.
    const __m128d estY = _mm_set1_pd(tracks[r].est_y[1]), estX = _mm_set1_pd(tracks[r].est_x[1]);
    for (; s <= n; s += 2) {
      double d[2];
      _mm_storeu_pd(d, particle_steps::hypotPair(_mm_sub_pd(estY, _mm_loadu_pd(candY + s)),
                                                 _mm_sub_pd(estX, _mm_loadu_pd(candX + s))));
      for (int lane = 0; lane < 2 && s + lane <= n; ++lane)
        if (candY[s + lane] != 0.0 && candX[s + lane] != 0.0) m.distance[r][s + lane] = truncateToWhole(d[lane]);
    }
#endif
    for (; s <= n; ++s) {
      if (candY[s] == 0.0 || candX[s] == 0.0) continue;
      m.distance[r][s] = truncateToWhole(std::hypot(tracks[r].est_y[1] - candY[s], tracks[r].est_x[1] - candX[s]));
    }
  }

  uint32_t keys[kMaxSlots * kMaxSlots];
  int pairs = 0;
  for (int r = 1; r <= n; ++r)
    for (int s = 1; s <= n; ++s) keys[pairs++] = pairKey(m.distance[r][s], r, s);

  for (int round = 1; round <= n; ++round) {
    uint32_t nearest = kNoKey;
    for (int k = 0; k < pairs; ++k) nearest = keys[k] < nearest ? keys[k] : nearest;
    if (nearest == kNoKey) break;  // no round after this one binds either
    const int picked = nearest >> 4 & 0xf;
    const int s = nearest & 0xf;
    // The track and the candidate are taken: their other pairs drop out.
    for (int k = 0; k < pairs; ++k) {
      const bool taken = (keys[k] >> 4 & 0xf) == static_cast<uint32_t>(picked) ||
                         (keys[k] & 0xf) == static_cast<uint32_t>(s);
      keys[k] = taken ? kNoKey : keys[k];
    }

    TrackRecord& track = tracks[picked];
    const double my = tracks[s].meas_y[1];
    const double mx = tracks[s].meas_x[1];
    track.obs_y[1] = my;
    track.obs_x[1] = mx;
    track.prev_assoc_clock = track.assoc_clock;
    track.assoc_clock = readClock();
    // Only the forward coordinate decides whether the path grows.
    if (track.path_y[1] != track.path_y[2] && track.path_y[1] != my) {
      pushHistory(track.path_y, 10, my, 1);
      pushHistory(track.path_x, 10, mx, 1);
    }
    m.candidateTaken[s] = true;
    m.paired[picked][s] = 1;
  }

  for (int r = 1; r <= n; ++r)
    for (int s = 1; s <= n; ++s) m_assocPair[r][s] = m.paired[r][s];

  for (int k = 1; k <= n; ++k) {
    const double my = tracks[k].meas_y[1];
    const double mx = tracks[k].meas_x[1];
    if (mx == 0.0 || m.candidateTaken[k]) continue;
    const double d = std::hypot(mx, my);
    if (!(m_Human_setdistance < d && d < m_Environmental_maxdata)) continue;
    const int32_t p = findFreeSlot(ids, 0);
    if (p < 1 || p > n || ids[p] != 1) continue;
    TrackRecord& track = tracks[p];
    for (int j = 0; j < kParticleCount; ++j) {
      track.particle_y[j] = my;
      track.particle_x[j] = mx;
    }
    track.est_y[1] = my + kStartOffset;
    track.est_x[1] = mx + kStartOffset;
    pushHistory(track.path_y, 10, my, 1);
    pushHistory(track.path_x, 10, mx, 1);
    ids[p] = findFreeSlot(ids, 1);
    m.candidateTaken[k] = true;
  }

  for (int i = 1; i <= n; ++i) tracks[i].track_id = ids[i];
}

int32_t Strolvex::findFreeSlot(const int32_t* ids, int mode) {
  // The product of all ten primes needs more than 32 bits.
  int64_t product = 1;
  for (int i = 1; i <= kMaxSlots; ++i)
    if (ids[i] != 0) product *= ids[i];
  for (int p = 1; p <= kMaxSlots; ++p) {
    const int32_t prime = kSlotPrimes[p - 1];
    if (product % prime != 0) return mode == 0 ? p : prime;
  }
  return 0;
}
