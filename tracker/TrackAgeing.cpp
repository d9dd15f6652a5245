// Ageing counters of each track and the release of tracks that went stale,
// drifted out of the area or stayed behind the sensor.
#include "component/Strolvex.h"
#include "tracker/PassCounting.h"
#include "tracker/TrackerConstants.h"

namespace {

const double kNearDistance = 2500.0;
const double kSlowSpeed = 180.0;

const int32_t kStaleLimit = 10;         // released at or above
const int32_t kNearSlowLimit = 2000;    // released above
const int32_t kFarLimit = 10;           // released above
const int32_t kBehindLimit = 20;        // released above
const int32_t kEstBehindLimit = 100;    // released above

}  // namespace

void Strolvex::updateAgeing(int i) {
  TrackRecord& track = m_tracks[i];
  const double v1 = track.speed_hist[1];
  const double v2 = track.speed_hist[2];
  const double range = track.est_range[1];
  const double areaLimit = m_Environmental_maxdata;
  const double pathY = track.path_y[1];
  const double estY = track.est_y[1];
  // Equal newest speeds: no new binding this cycle.
  const bool coasting = v1 == v2 && range < areaLimit;

  if (coasting) ++track.stale_count;
  if (kNearDistance < range && range < areaLimit && v1 < kSlowSpeed)
    ++track.stale_count;
  else if (range < kNearDistance)
    track.stale_count = 0;
  else if (v1 > kSlowSpeed && v1 != v2)
    track.stale_count = 0;

  if (range < kNearDistance && v1 < kSlowSpeed)
    ++track.near_slow_count;
  else if (v1 > kSlowSpeed)
    track.near_slow_count = 0;

  if (range > areaLimit) ++track.far_count;

  if (coasting) ++track.behind_count;
  if (pathY < 0 && v1 < kSlowSpeed)
    ++track.behind_count;
  else if (pathY > 0)
    track.behind_count = 0;
  else if (v1 > kSlowSpeed && v1 != v2)
    track.behind_count = 0;

  if (estY < 0)
    ++track.est_behind_count;
  else if (estY > 0)
    track.est_behind_count = 0;
}

void Strolvex::releaseStaleTracks() {
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    const TrackRecord& track = m_tracks[i];
    if (track.stale_count >= kStaleLimit || track.near_slow_count > kNearSlowLimit ||
        track.far_count > kFarLimit || track.behind_count > kBehindLimit ||
        track.est_behind_count > kEstBehindLimit) {
      releaseSlot(m_tracks[i]);
      if (m_passObserver != nullptr) m_passObserver->slotReleased(i);
    }
  }
}

// The candidate's measurements, the last observation and the bearing
// history stay: they belong to the candidate slot or take part in no
// decision while the range is empty.
void Strolvex::releaseSlot(TrackRecord& track) {
  track.stale_count = 0;
  track.near_slow_count = 0;
  track.far_count = 0;
  track.behind_count = 0;
  track.est_behind_count = 0;
  for (int k = 0; k < kParticleCount; ++k) {
    track.particle_weight[k] = 0.0;
    track.particle_y[k] = kEmptyValue;
    track.particle_x[k] = kEmptyValue;
  }
  for (int k = 0; k < 100; ++k) {
    track.est_y[k] = kEmptyValue;
    track.est_x[k] = kEmptyValue;
    track.path_y[k] = kEmptyValue;
    track.path_x[k] = kEmptyValue;
    track.est_range[k] = kEmptyValue;
  }
  for (int k = 0; k < 11; ++k) {
    track.speed_hist[k] = 0.0;
    track.heading_hist[k] = 0.0;
  }
  track.assoc_clock = 0;
  track.prev_assoc_clock = 0;
  track.track_id = 1;
  track.pass_state = 0;
}
