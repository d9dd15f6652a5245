// strolvex-busy-scene PEOPLE SCANS: writes a busy scene as a scan log on
// standard output, the input of the benchmarks and the soak.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BusyScene.h"

int main(int argc, char** argv) {
  const int people = argc == 3 ? std::atoi(argv[1]) : 0;
  const int scans = argc == 3 ? std::atoi(argv[2]) : 0;
  if (people < 1 || people > 10 || scans < 1) {
    std::fprintf(stderr, "usage: %s PEOPLE(1-10) SCANS > scene.scanlog\n", argv[0]);
    return 2;
  }
  std::printf("# busy scene: %d people swaying in the start ring, %d scans 100 ms apart\n",
              people, scans);
  const BusyScene scene(people);
  ScanRecord scan;
  for (int n = 0; n < scans; ++n) {
    scene.render(n, scan);
    const std::string line = formatScanLine(scan);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
