// Range, bearing, speed and heading of each track, and the counting of
// tracks that pass the sensor's forward axis.
#include <cmath>
#include <cstdint>

#include "component/Strolvex.h"
#include "tracker/PassCounting.h"
#include "tracker/TrackerConstants.h"

namespace {

// Path speeds at or above this are measurement jumps, not walking.
const double kSpeedLimit = 2000.0;
// Below this the path direction is too noisy to be a heading.
const double kHeadingMinSpeed = 300.0;

double negatedBearingDegrees(double lateral, double forward) {
  return -std::atan2(lateral, forward) / kPi * 180;
}

}  // namespace

void Strolvex::updateMotion(int i) {
  TrackRecord& track = m_tracks[i];
  const bool hasPath = track.path_y[1] != kEmptyValue;
  if (hasPath) {
    pushHistory(track.est_range, 100, std::hypot(track.est_x[1], track.est_y[1]), 1);
    pushHistory(track.est_bearing, 100,
                negatedBearingDegrees(track.est_x[1], track.est_y[1]), 1);
  }

  if (hasPath && track.path_y[1] < m_Environmental_maxdata &&
      track.path_x[1] < m_Environmental_maxdata) {
    const double dt =
        elapsedBetween(track.assoc_clock, track.prev_assoc_clock) / 1000.0;
    const double dy = track.path_y[1] - track.path_y[2];
    const double dx = track.path_x[1] - track.path_x[2];
    // Without a new binding this repeats the last speed; equal newest speeds
    // are how prediction and ageing recognise such a cycle.
    const double v = std::hypot(dy / dt, dx / dt);
    if (v < kSpeedLimit) pushHistory(track.speed_hist, 10, v, 1);
    if (kHeadingMinSpeed < track.speed_hist[1] && track.speed_hist[1] < kSpeedLimit)
      pushHistory(track.heading_hist, 10, negatedBearingDegrees(dx, dy), 1);
  }

  const double range = track.est_range[1];
  const double bearing = track.est_bearing[1];
  const PassCountingRule rule{m_Count_area_distance, m_Environmental_maxdata,
                              m_Count_mode == "OUT,IN"};
  switch (advancePassState(track.pass_state, range, bearing, rule)) {
    case PassCounted::kIn:
      ++m_countIn;
      break;
    case PassCounted::kOut:
      ++m_countOut;
      break;
    case PassCounted::kNone:
      break;
  }
  if (m_passObserver != nullptr) m_passObserver->slotCounted(i, range, bearing, rule);

  if (track.track_id != 1) ++m_countPresent;
}
