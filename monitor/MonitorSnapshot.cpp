#include "monitor/MonitorSnapshot.h"

#include <algorithm>

DrawnSteps drawnSteps(const ScanWork& scan) {
  const int first = std::max(scan.lrfdata_min, 0);
  const int end = std::min(scan.lrfdata_max, kScanSteps);
  return DrawnSteps{first, std::max(first, end)};
}

void takeScanSnapshot(MonitorSnapshot& snapshot, const ScanWork& scanWork,
                      int trackCount) {
  // The track records hold slots 1..kMaxSlots only.
  snapshot.track_count = std::min(std::max(trackCount, 0), kMaxSlots);
  ScanWork& copy = snapshot.scan;
  copy.lrfdata_min = scanWork.lrfdata_min;
  copy.lrfdata_max = scanWork.lrfdata_max;
  copy.lrfdata_mid = scanWork.lrfdata_mid;
  copy.lrfdata_theta = scanWork.lrfdata_theta;
  copy.lrf_total_steps = scanWork.lrf_total_steps;
  const DrawnSteps steps = drawnSteps(copy);
  for (int t = steps.first; t < steps.end; ++t) {
    copy.range[t] = scanWork.range[t];
    copy.background[t] = scanWork.background[t];
    copy.foreground[t] = scanWork.foreground[t];
  }
}

void takeTrackSnapshot(MonitorSnapshot& snapshot, const TrackRecord* tracks) {
  for (int i = 1; i <= snapshot.track_count; ++i) {
    TrackRecord& copy = snapshot.tracks[i];
    copy.est_y[1] = tracks[i].est_y[1];
    copy.est_x[1] = tracks[i].est_x[1];
    std::copy(tracks[i].particle_y, tracks[i].particle_y + kParticleCount,
              copy.particle_y);
    std::copy(tracks[i].particle_x, tracks[i].particle_x + kParticleCount,
              copy.particle_x);
  }
}
