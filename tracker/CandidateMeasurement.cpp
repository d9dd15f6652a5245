// One candidate position per slot from the middle step of its segment.
#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"
#include "tracker/TrackerConstants.h"

namespace {

// Bearing of a scan step in radians, 0 straight ahead. The step offset is
// scaled in 32-bit integers before the division, as the sensor geometry
// does for segments; the product wraps instead of overflowing for absurd
// configurations.
double stepBearing(int32_t step, int32_t midStep, int32_t theta,
                   int32_t totalSteps) {
  const uint32_t scaled = (static_cast<uint32_t>(step) -
                           static_cast<uint32_t>(midStep)) *
                          static_cast<uint32_t>(theta);
  const int32_t q = static_cast<int32_t>(scaled) / 360;
  return static_cast<double>(2 * q) * kPi / totalSteps;
}

}  // namespace

void Strolvex::measureCandidates(TrackRecord* tracks) {
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    const int32_t mid = (m_segSteps[i].first_step + m_segSteps[i].last_step) / 2;
    m_candMidStep[i] = mid;
    m_candBearing[i] = stepBearing(mid, m_LRFdata_mid, m_LRFdata_theta,
                                   m_LRF_Total_steps);
    m_candRange[i] = mid != 0 ? m_scanWork->range[mid] : 0.0;
  }
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    const double r = m_candRange[i];
    const double theta = m_candBearing[i];
    pushHistory(tracks[i].meas_y, 100, r * std::cos(theta), 1);
    pushHistory(tracks[i].meas_x, 100, r * std::sin(theta), 1);
  }
}
