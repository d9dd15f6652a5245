// Replaying a recording is mostly reading it: the cost of parsing one scan
// line of the default sensor (769 ranges) as a recorder writes it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "tools/scanlog/ScanLog.h"

namespace {

std::string recordedLine() {
  ScanRecord scan;
  scan.t_ms = 1704067200000;
  for (int s = 0; s < 769; ++s) scan.ranges.push_back(3900.0 + 37.3 * std::sin(s * 0.7));
  return formatScanLine(scan);
}

void BM_ParseScanLine(benchmark::State& state) {
  const std::string line = recordedLine();
  for (auto _ : state) benchmark::DoNotOptimize(parseScanLine(line));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ParseScanLine);

}  // namespace
