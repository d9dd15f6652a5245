// A laser's scans are decoded as they arrive: the cost of reading one
// 726-step continuous-scan reply (682 measured steps, 3-character values in
// 33 lines) from its bytes to the values, and of the decoding alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipReplyWriter.h"
#include "tools/scip/ScipScan.h"

namespace {

std::string scanReply() {
  std::vector<uint32_t> values;
  for (uint32_t k = 0; k < 682; ++k) values.push_back(1234 + 7 * k % 4000);
  return scipReplyBytes("MD0044072501000", "99", scipScanPayload(123456, values, 3));
}

void BM_ReadAndDecodeScanReply(benchmark::State& state) {
  const std::string bytes = scanReply();
  const ScipScanRequest request;
  ScipReplyReader reader;
  ScipReply reply;
  ScipScan scan;
  std::string error;
  for (auto _ : state) {
    reader.feed(bytes);
    reader.next(reply);
    if (!decodeScan(reply, request, scan, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(scan.values.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadAndDecodeScanReply);

void BM_DecodeScanReply(benchmark::State& state) {
  ScipReplyReader reader;
  reader.feed(scanReply());
  ScipReply reply;
  reader.next(reply);
  const ScipScanRequest request;
  ScipScan scan;
  std::string error;
  for (auto _ : state) {
    if (!decodeScan(reply, request, scan, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(scan.values.data());
  }
}
BENCHMARK(BM_DecodeScanReply);

}  // namespace
