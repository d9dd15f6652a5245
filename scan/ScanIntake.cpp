#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"

namespace {

// A step is foreground only when clearly nearer than its background and not
// a near-sensor echo.
const double kForegroundRatio = 0.9;
const double kNearestForegroundMm = 100.0;
// Where a negative reading is put: near the sensor, below the foreground limit.
const double kNegativeReadingMm = 10.0;

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
  for (int32_t s = m_LRFdata_min; s <= m_LRFdata_max; ++s) {
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
