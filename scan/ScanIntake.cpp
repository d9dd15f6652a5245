#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>

#include <cstring>
#endif

#include "component/ProcessorFeatures.h"
#include "component/Strolvex.h"

namespace {

// A step is foreground only when clearly nearer than its background and not
// a near-sensor echo.
const double kForegroundRatio = 0.9;
const double kNearestForegroundMm = 100.0;
// Where a negative reading is put: near the sensor, below the foreground limit.
const double kNegativeReadingMm = 10.0;

#if defined(__SSE2__)
// Steps lane by lane (V a GCC vector of doubles, Mask its lane masks), the
// branches of the one-at-a-time code below taken as masks: the same
// comparisons and the same division, so the same bits.
template <class V, class Mask>
__attribute__((always_inline)) inline void takeInLanes(const double* readings, double* ranges, double* backgrounds,
                                                        int32_t* foreground, double farthest) {
  const int kLanes = sizeof(V) / sizeof(double);
  V range, background;
  std::memcpy(&range, readings, sizeof range);
  std::memcpy(&background, backgrounds, sizeof background);
  range = range != range ? 0.0 : range;
  range = range > farthest ? farthest : range;
  range = range < 0.0 ? kNegativeReadingMm : range;
  background = background == 0.0 ? range : background;
  const Mask known = background != 0.0;
  // Known background: it follows the farthest reading.
  background = (known & (range > background)) ? range : background;
  const Mask flagged = known & (range / background < kForegroundRatio) & (range > kNearestForegroundMm);
  // None: open space out to the limit.
  range = known ? range : farthest;
  if (farthest != 0.0) background = known ? background : farthest;
  range = ((background != 0.0) & (range == 0.0)) ? background : range;
  std::memcpy(ranges, &range, sizeof range);
  std::memcpy(backgrounds, &background, sizeof background);
  for (int lane = 0; lane < kLanes; ++lane) foreground[lane] = static_cast<int32_t>(flagged[lane] & 1);
}

typedef long long TwoMasks __attribute__((vector_size(16)));
typedef long long FourMasks __attribute__((vector_size(32)));

__attribute__((target("avx"))) int32_t takeInFourAtATime(int32_t s, int32_t last, const double* readings,
                                                          ScanWork& work, double farthest) {
  for (; s + 3 <= last; s += 4)
    takeInLanes<__m256d, FourMasks>(readings + s, work.range + s, work.background + s, work.foreground + s, farthest);
  return s;
}
#endif

#if defined(__SSE2__)
// Whether none of the four flags from `at` is 1.
inline bool noneFlagged(const int32_t* at) {
  const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  return _mm_movemask_epi8(_mm_cmpeq_epi32(four, _mm_set1_epi32(1))) == 0;
}
#endif

}  // namespace

void Strolvex::readScan() {
  ScanWork& work = *m_scanWork;
  work.lrfdata_min = m_LRFdata_min;
  work.lrfdata_max = m_LRFdata_max;
  work.lrfdata_mid = m_LRFdata_mid;
  work.lrfdata_theta = m_LRFdata_theta;
  work.lrf_total_steps = m_LRF_Total_steps;

  const double farthest = m_Environmental_maxdata;
  // Admission made sure the scan reaches the last processed step.
  const double* readings = m_range_data.ranges.get_buffer();
  int32_t s = m_LRFdata_min;
#if defined(__SSE2__)
  if (processorHasAvx()) s = takeInFourAtATime(s, m_LRFdata_max, readings, work, farthest);
  for (; s + 1 <= m_LRFdata_max; s += 2)
    takeInLanes<__m128d, TwoMasks>(readings + s, work.range + s, work.background + s, work.foreground + s, farthest);
#endif
  for (; s <= m_LRFdata_max; ++s) {
    double range = readings[s];
    // A reading that is not a number is taken as no echo.
    if (std::isnan(range)) range = 0.0;
    if (range > farthest) range = farthest;
    if (range < 0.0) range = kNegativeReadingMm;
    double& background = work.background[s];
    if (background == 0.0) background = range;
    if (background != 0.0) {
      if (range > background) background = range;
      work.foreground[s] = range / background < kForegroundRatio && range > kNearestForegroundMm;
    } else {
      // No echo and no background yet: assume open space out to the limit.
      range = farthest;
      if (farthest != 0.0) background = farthest;
      work.foreground[s] = 0;
    }
    if (background != 0.0 && range == 0.0) range = background;
    work.range[s] = range;
  }
}

void Strolvex::filterIsolatedSteps(int window, int minNeighbours) {
  int32_t* flags = m_scanWork->foreground;
  const int32_t first = m_LRFdata_min;
  const int32_t last = m_LRFdata_max;
  // Neighbours are counted as they stand when the walk reaches a step: those
  // behind it after their own check (a dropped step no longer supports the
  // next ones), those ahead as read. Flags outside the processed range may
  // be left over from an earlier, wider range: they never count.
  const uint32_t span = static_cast<uint32_t>(last - first);
  auto flagged = [&](int32_t s) {
    return static_cast<uint32_t>(s - first) <= span && flags[s] == 1 ? 1 : 0;
  };
  // Only flagged steps can change. The counts are taken afresh at the first
  // flagged step of a run and slide along while the run lasts.
  int behind = 0;
  int ahead = 0;
  bool counted = false;
  for (int32_t s = first; s <= last; ++s) {
#if defined(__SSE2__)
    // Most steps are not flagged: four at a time go by with one comparison.
    while (s + 4 <= last + 1 && noneFlagged(flags + s)) {
      counted = false;
      s += 4;
    }
    if (s > last) break;
#endif
    if (flags[s] != 1) {
      counted = false;
      continue;
    }
    if (!counted) {
      behind = 0;
      ahead = 0;
      for (int d = 1; d < window; ++d) {
        behind += flagged(s - d);
        ahead += flagged(s + d);
      }
      counted = true;
    }
    if (behind + ahead < minNeighbours) flags[s] = 0;
    if (s - window + 1 >= first && s + window <= last) {
      // Away from the range's ends every step the counts slide over is in it.
      behind += (flags[s] == 1) - (flags[s - window + 1] == 1);
      ahead += (flags[s + window] == 1) - (flags[s + 1] == 1);
    } else {
      behind += flagged(s) - flagged(s - window + 1);
      ahead += flagged(s + window) - flagged(s + 1);
    }
  }
}
