#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "component/Strolvex.h"

namespace {

// A step is foreground only when clearly nearer than its background and not
// a near-sensor echo.
const double kForegroundRatio = 0.9;
const double kNearestForegroundMm = 100.0;
// Where a negative reading is put: near the sensor, below the foreground limit.
const double kNegativeReadingMm = 10.0;

#if defined(__SSE2__)
// Per lane: where the mask is set, a; elsewhere b.
inline __m128d select(__m128d mask, __m128d a, __m128d b) {
  return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
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
  // Two steps at a time, each lane taking the branches below as masks: the
  // same comparisons and the same division, so the same bits.
  const __m128d far = _mm_set1_pd(farthest), zero = _mm_setzero_pd();
  const __m128d farIsSet = _mm_cmpneq_pd(far, zero);
  for (; s + 1 <= m_LRFdata_max; s += 2) {
    __m128d range = _mm_loadu_pd(readings + s);
    range = _mm_andnot_pd(_mm_cmpunord_pd(range, range), range);
    range = select(_mm_cmpgt_pd(range, far), far, range);
    range = select(_mm_cmplt_pd(range, zero), _mm_set1_pd(kNegativeReadingMm), range);
    __m128d background = _mm_loadu_pd(work.background + s);
    background = select(_mm_cmpeq_pd(background, zero), range, background);
    const __m128d known = _mm_cmpneq_pd(background, zero);
    // Known background: it follows the farthest reading.
    background = select(_mm_and_pd(known, _mm_cmpgt_pd(range, background)), range, background);
    const __m128d foreground =
        _mm_and_pd(known, _mm_and_pd(_mm_cmplt_pd(_mm_div_pd(range, background), _mm_set1_pd(kForegroundRatio)),
                                     _mm_cmpgt_pd(range, _mm_set1_pd(kNearestForegroundMm))));
    // None: open space out to the limit.
    range = select(known, range, far);
    background = select(_mm_andnot_pd(known, farIsSet), far, background);
    range = select(_mm_and_pd(_mm_cmpneq_pd(background, zero), _mm_cmpeq_pd(range, zero)), background, range);
    _mm_storeu_pd(work.range + s, range);
    _mm_storeu_pd(work.background + s, background);
    const __m128i flags = _mm_and_si128(_mm_shuffle_epi32(_mm_castpd_si128(foreground), _MM_SHUFFLE(3, 1, 2, 0)),
                                        _mm_set1_epi32(1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(work.foreground + s), flags);
  }
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
    behind += flagged(s) - flagged(s - window + 1);
    ahead += flagged(s + window) - flagged(s + 1);
  }
}
