// strolvex-sim-scene SEED SCANS [PEOPLE_PER_MINUTE]: writes the simulator's
// walking crowd as a scan log (10 scans a second, whole millimetres), so that
// scenes of any seed can be recorded without running the components.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/scanlog/ScanLog.h"
#include "tools/simulator/Scene.h"

int main(int argc, char** argv) {
  const long seed = argc >= 3 ? std::atol(argv[1]) : 0;
  const int scans = argc >= 3 ? std::atoi(argv[2]) : 0;
  const double perMinute = argc == 4 ? std::atof(argv[3]) : 30.0;
  if (argc < 3 || argc > 4 || seed < 1 || scans < 1 || !(perMinute > 0.0)) {
    std::fprintf(stderr, "usage: %s SEED SCANS [PEOPLE_PER_MINUTE] > scene.scanlog\n", argv[0]);
    return 2;
  }
  SceneSettings settings;
  settings.crowd.seed = static_cast<uint64_t>(seed);
  settings.crowd.peoplePerMinute = perMinute;
  Scene scene(settings);
  std::printf("# simulated scene: seed %ld, %g people a minute, %d scans 100 ms apart\n", seed,
              perMinute, scans);
  ScanRecord scan;
  for (int n = 0; n < scans; ++n) {
    scan.t_ms = 100 * static_cast<int64_t>(n);
    scene.advanceTo(n / 10.0);
    scene.render(scan.ranges);
    const std::string line = formatScanLine(scan);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
