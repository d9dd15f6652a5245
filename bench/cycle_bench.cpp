// What one scan costs the component, from taking in the scan to publishing
// the results (monitor off), on a recorded busy scene with every track slot
// in use. Usage: cycle_bench [benchmark flags] SCENE.scanlog
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/DrivenStrolvex.h"
#include "tools/scanlog/ScanLog.h"

namespace {

std::vector<ScanRecord> g_scene;

void BM_ScanCycle(benchmark::State& state) {
  const int slots = static_cast<int>(state.range(0));
  DrivenStrolvex strolvex;
  strolvex.setHumanNum(slots);
  strolvex.onActivated(0);
  // Scan 0 is the empty room; the rest loops without a jump.
  std::size_t next = 0;
  int64_t now = 0;
  auto step = [&]() {
    strolvex.cycle(g_scene[next].ranges, now);
    now += 100;
    next = next + 1 < g_scene.size() ? next + 1 : 1;
  };
  for (int n = 0; n < 200; ++n) step();
  const int busyBefore = strolvex.busySlots();
  for (auto _ : state) step();
  state.counters["busy_slots"] = busyBefore;
  if (busyBefore != slots) state.SkipWithError("the scene does not keep every slot busy");
  strolvex.onDeactivated(0);
}
BENCHMARK(BM_ScanCycle)->ArgName("Human_NUM")->Arg(1)->Arg(6)->Arg(10);

// The one-at-a-time work the cycle's lanes stand in for: each busy slot
// measures 100 particle distances (the C library's hypot) and draws 300
// random numbers per slot from a sequence followed one draw after another.
void BM_SixHundredParticleDistances(benchmark::State& state) {
  double y[600];
  double x[600];
  for (int k = 0; k < 600; ++k) {
    y[k] = 3000.0 + 4.0 * (k % 50) - 100.0;
    x[k] = -400.0 + 4.0 * (k % 37) - 70.0;
  }
  for (auto _ : state) {
    double sum = 0.0;
    for (int k = 0; k < 600; ++k) sum += std::hypot(3010.0 - y[k], -395.0 - x[k]);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SixHundredParticleDistances);

void BM_EighteenHundredRandomDraws(benchmark::State& state) {
  MsvcRandom random;
  for (auto _ : state) {
    int32_t sum = 0;
    for (int k = 0; k < 1800; ++k) sum += random.next() % 200 - 100;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_EighteenHundredRandomDraws);

bool loadScene(const char* path) {
  std::ifstream log(path);
  std::string text;
  while (std::getline(log, text)) {
    ScanLine line = parseScanLine(text);
    if (line.kind == ScanLine::kScan) g_scene.push_back(std::move(line.scan));
  }
  return g_scene.size() > 1;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2 || !loadScene(argv[1])) {
    std::fprintf(stderr, "usage: %s [benchmark flags] BUSY_SCENE.scanlog\n", argv[0]);
    return 2;
  }
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
