#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"
#include "scan/StepGeometry.h"

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
      while (s < last && flags[s + 1] == flags[s]) ++s;
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
