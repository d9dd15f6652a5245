// What one scan costs the component, from taking in the scan to publishing
// the results (monitor off), on a recorded busy scene with every track slot
// in use. Usage: cycle_bench [benchmark flags] SCENE.scanlog
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
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
