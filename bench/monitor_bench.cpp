// The monitor's per-cycle cost: composing one frame of a busy scene, and
// writing it out when the frames go to a PNG file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "monitor/MonitorFrame.h"
#include "monitor/PngFrameFile.h"

namespace {

const int kBusyTracks = 6;

// The default sensor over a wavy wall about 4 m away, with six people
// standing in front of it, each with its particle cloud.
std::unique_ptr<MonitorSnapshot> busyScene() {
  std::unique_ptr<ScanWork> scan(new ScanWork());
  scan->lrfdata_min = 44;
  scan->lrfdata_max = 725;
  scan->lrfdata_mid = 384;
  scan->lrfdata_theta = 360;
  scan->lrf_total_steps = 1024;
  for (int t = 44; t <= 725; ++t) {
    scan->background[t] = 4000.0 + 400.0 * std::sin(t * 0.05);
    scan->range[t] = scan->background[t];
  }
  std::unique_ptr<TrackRecord[]> tracks(new TrackRecord[kSlotTableSize]());
  for (int i = 1; i <= kBusyTracks; ++i) {
    const int middle = 150 + 80 * i;
    for (int t = middle - 10; t <= middle + 10; ++t) {
      scan->range[t] = 1500.0 + 250.0 * i;
      scan->foreground[t] = 1;
    }
    const double angle = 2.0 * 3.141592653589793 * (middle - 384) / 1024.0;
    const double x = std::sin(angle) * scan->range[middle];
    const double y = std::cos(angle) * scan->range[middle];
    tracks[i].est_x[1] = x;
    tracks[i].est_y[1] = y;
    for (int k = 0; k < kParticleCount; ++k) {
      tracks[i].particle_x[k] = x + 30.0 * (k % 10) - 135.0;
      tracks[i].particle_y[k] = y + 30.0 * (k / 10) - 135.0;
    }
  }
  std::unique_ptr<MonitorSnapshot> snapshot(new MonitorSnapshot());
  takeScanSnapshot(*snapshot, *scan, kBusyTracks);
  takeTrackSnapshot(*snapshot, tracks.get());
  return snapshot;
}

void BM_ComposeFrameSixBusyTracks(benchmark::State& state) {
  const std::unique_ptr<MonitorSnapshot> snapshot = busyScene();
  for (auto _ : state) {
    MonitorFrame frame = composeMonitorFrame(*snapshot);
    benchmark::DoNotOptimize(frame.surface());
  }
}
BENCHMARK(BM_ComposeFrameSixBusyTracks)->Unit(benchmark::kMicrosecond);

void BM_WriteFramePng(benchmark::State& state) {
  const MonitorFrame frame = composeMonitorFrame(*busyScene());
  char directory[] = "/tmp/strolvex-bench-XXXXXX";
  if (mkdtemp(directory) == nullptr) {
    state.SkipWithError("no scratch directory");
    return;
  }
  const std::string path = std::string(directory) + "/frame.png";
  for (auto _ : state) {
    if (!writeFramePng(frame, path)) state.SkipWithError("write failed");
  }
  std::remove(path.c_str());
  std::remove(directory);
}
BENCHMARK(BM_WriteFramePng)->Unit(benchmark::kMicrosecond);

}  // namespace
