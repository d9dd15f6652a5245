#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "component/Strolvex.h"
#include "scan/StepGeometry.h"

namespace {

// The last step, up to last, of the run of equal flags that s is in.
int32_t endOfRun(const int32_t* flags, int32_t s, int32_t last) {
#if defined(__SSE2__)
  // Four steps at a time: a run is often tens or hundreds of steps long.
  const __m128i value = _mm_set1_epi32(flags[s]);
  for (; s + 4 <= last; s += 4) {
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(flags + s + 1));
    const int same = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(next, value)));
    if (same != 0xf) return s + __builtin_ctz(~same);
  }
#endif
  while (s < last && flags[s + 1] == flags[s]) ++s;
  return s;
}

}  // namespace

void Strolvex::stepToPoint(int32_t step) {
  m_pointAngle = stepAngle(step, m_LRFdata_mid, m_LRFdata_theta, m_LRF_Total_steps);
  m_pointRange = m_scanWork->range[step];
  m_pointX = std::sin(m_pointAngle) * m_pointRange;
  m_pointY = std::cos(m_pointAngle) * m_pointRange;
}

void Strolvex::extractSegments() {
  int32_t* flags = m_scanWork->foreground;
  const int32_t first = m_LRFdata_min;
  const int32_t last = m_LRFdata_max;
  int32_t j = 1;
  // Once every slot holds a segment, later runs can neither be accepted nor
  // erased: the walk ends there (and never reaches past the slot tables).
  for (int32_t s = first; s <= last && j <= m_Human_NUM; ++s) {
    // The step below the range counts as unflagged whatever it holds.
    const int32_t below = s > first ? flags[s - 1] : 0;
    const int32_t edge = flags[s] - below;
    if (edge == 1) {
      m_openFirst[j] = s;
    } else if (edge == -1) {
      m_openLast[j] = s - 1;
    }
    if (!(m_openFirst[j] > 0 && m_openLast[j] > 0 && m_openLast[j] > m_openFirst[j])) {
      // Nothing changes before the next edge: the steps up to it are passed
      // over at once.
      s = endOfRun(flags, s, last);
      continue;
    }

    stepToPoint(m_openFirst[j]);
    m_segFirstX[j] = m_pointX;
    m_segFirstY[j] = m_pointY;
    stepToPoint(m_openLast[j]);
    m_segLastX[j] = m_pointX;
    m_segLastY[j] = m_pointY;
    m_segWidth[j] = std::hypot(m_segFirstX[j] - m_segLastX[j], m_segFirstY[j] - m_segLastY[j]);

    if (m_segWidth[j] > m_Human_width) {
      m_segSteps[j].first_step = m_openFirst[j];
      m_segSteps[j].last_step = m_openLast[j];
      m_openFirst[j] = 0;
      m_openLast[j] = 0;
      ++j;
    } else {
      // Too narrow for a person: it stops being foreground.
      for (int32_t k = m_openFirst[j]; k <= m_openLast[j]; ++k) flags[k] = 0;
      m_openFirst[j] = 0;
      m_openLast[j] = 0;
      m_segSteps[j].first_step = 0;
      m_segSteps[j].last_step = 0;
    }
  }
}
