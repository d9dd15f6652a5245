// Scans, tracks and pixel counts shared by the monitor's tests.
#ifndef STROLVEX_MONITOR_TESTS_FRAMETESTSUPPORT_H
#define STROLVEX_MONITOR_TESTS_FRAMETESTSUPPORT_H

#include <cstdint>
#include <memory>

#include "monitor/Monitor.h"
#include "monitor/MonitorFrame.h"

const uint32_t kBlackPixel = 0x000000, kWhitePixel = 0xffffff, kOutlinePixel = 0x4a73ff,
               kGreenPixel = 0x00ff00, kRedPixel = 0xff0000, kYellowPixel = 0xffff00;

// The default sensor (steps 44..725, middle 384, 360 degrees, 1024 steps)
// with every step at the given range, no background and no foreground.
inline std::unique_ptr<ScanWork> defaultScan(double range) {
  std::unique_ptr<ScanWork> scan(new ScanWork());
  scan->lrfdata_min = 44;
  scan->lrfdata_max = 725;
  scan->lrfdata_mid = 384;
  scan->lrfdata_theta = 360;
  scan->lrf_total_steps = 1024;
  for (int t = 44; t <= 725; ++t) scan->range[t] = range;
  return scan;
}

// Free track slots, as the tracker leaves them.
inline std::unique_ptr<TrackRecord[]> freeTracks() {
  std::unique_ptr<TrackRecord[]> tracks(new TrackRecord[kSlotTableSize]());
  for (int i = 0; i < kSlotTableSize; ++i) {
    tracks[i].est_x[1] = tracks[i].est_y[1] = kEmptyValue;
    for (int k = 0; k < kParticleCount; ++k) tracks[i].particle_x[k] = tracks[i].particle_y[k] = kEmptyValue;
  }
  return tracks;
}

// The frame of one processed scan (no scan: the axes alone), drawn from a
// zero-filled snapshot as the monitor's own starts; tracks may be null.
inline MonitorFrame frameOf(const ScanWork* scan, int trackCount = 0, const TrackRecord* tracks = nullptr) {
  std::unique_ptr<MonitorSnapshot> snapshot(new MonitorSnapshot());
  if (scan != nullptr) takeScanSnapshot(*snapshot, *scan, trackCount);
  if (tracks != nullptr) takeTrackSnapshot(*snapshot, tracks);
  return composeMonitorFrame(*snapshot);
}

// Hands the monitor one processed scan (six tracks counted, a foreground ray,
// a track circle) as the cycle does and returns the frame it should show.
inline MonitorFrame snapshotOneCycle() {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  scan->foreground[512] = 1;
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[2].est_x[1] = -500.0;
  tracks[2].est_y[1] = 2000.0;
  snapshotScan(scan.get(), 6);
  snapshotTracks(tracks.get());
  return frameOf(scan.get(), 6, tracks.get());
}

inline int countPixels(const MonitorFrame& frame, uint32_t colour, int left = 0, int top = 0,
                       int width = kFrameSize, int height = kFrameSize) {
  int count = 0;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) count += frame.pixel(x, y) == colour;
  return count;
}

#endif
