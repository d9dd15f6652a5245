#include "monitor/tests/FrameTestSupport.h"

#include "monitor/Monitor.h"

std::unique_ptr<MonitorSnapshot> zeroSnapshot() {
  return std::unique_ptr<MonitorSnapshot>(new MonitorSnapshot());
}

std::unique_ptr<ScanWork> defaultScan(double range) {
  std::unique_ptr<ScanWork> scan(new ScanWork());
  scan->lrfdata_min = 44;
  scan->lrfdata_max = 725;
  scan->lrfdata_mid = 384;
  scan->lrfdata_theta = 360;
  scan->lrf_total_steps = 1024;
  for (int t = 44; t <= 725; ++t) scan->range[t] = range;
  return scan;
}

std::unique_ptr<TrackRecord[]> freeTracks() {
  std::unique_ptr<TrackRecord[]> tracks(new TrackRecord[kSlotTableSize]());
  for (int i = 0; i < kSlotTableSize; ++i) {
    tracks[i].est_x[1] = tracks[i].est_y[1] = kEmptyValue;
    for (int k = 0; k < kParticleCount; ++k) {
      tracks[i].particle_x[k] = tracks[i].particle_y[k] = kEmptyValue;
    }
  }
  return tracks;
}

MonitorFrame frameOf(const ScanWork& scan, int trackCount, const TrackRecord* tracks) {
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  takeScanSnapshot(*snapshot, scan, trackCount);
  if (tracks != nullptr) takeTrackSnapshot(*snapshot, tracks);
  return composeMonitorFrame(*snapshot);
}

MonitorFrame snapshotOneCycle() {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  scan->foreground[512] = 1;
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[2].est_x[1] = -500.0;
  tracks[2].est_y[1] = 2000.0;
  snapshotScan(scan.get(), 6);
  snapshotTracks(tracks.get());
  return frameOf(*scan, 6, tracks.get());
}

int countPixels(const MonitorFrame& frame, uint32_t colour, int left, int top, int width,
                int height) {
  int count = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (frame.pixel(x, y) == colour) ++count;
    }
  }
  return count;
}
