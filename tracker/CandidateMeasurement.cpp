// One candidate position per slot from the middle step of its segment.
#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"
#include "tracker/TrackerConstants.h"

void Strolvex::measureCandidates(TrackRecord* tracks) {
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    const int32_t mid = (m_segSteps[i].first_step + m_segSteps[i].last_step) / 2;
    m_candMidStep[i] = mid;
    m_candBearing[i] = stepAngle(mid, m_LRFdata_mid, m_LRFdata_theta, m_LRF_Total_steps);
    m_candRange[i] = mid != 0 ? m_scanWork->range[mid] : 0.0;
  }
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    const double r = m_candRange[i];
    const double theta = m_candBearing[i];
    pushHistory(tracks[i].meas_y, 100, r * std::cos(theta), 1);
    pushHistory(tracks[i].meas_x, 100, r * std::sin(theta), 1);
  }
}
