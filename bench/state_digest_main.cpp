// strolvex-state-digest [-o [PREFIX.]NAME:VALUE]... SCANLOG: runs every scan
// of a scan log through the component's cycle and prints, per scan, a hash
// of the whole tracking state. Published results are whole millimetres; the
// hash sees every double to the last bit, so two builds that print the same
// hashes computed the same state. Takes the same -o options as
// strolvex-replay (only the part after the last dot of the key counts).
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/DrivenStrolvex.h"
#include "tools/scanlog/ScanLog.h"

int main(int argc, char** argv) {
  DrivenStrolvex strolvex;
  int arg = 1;
  for (; arg + 1 < argc && std::string(argv[arg]) == "-o"; arg += 2) {
    const std::string option = argv[arg + 1];
    const std::size_t colon = option.find(':');
    const std::size_t dot = option.rfind('.', colon);
    const std::string name = option.substr(dot == std::string::npos ? 0 : dot + 1,
                                           colon == std::string::npos ? std::string::npos
                                                                      : colon - (dot + 1));
    if (colon == std::string::npos || !strolvex.setParameter(name, option.substr(colon + 1))) {
      std::fprintf(stderr, "%s: unknown parameter in '%s'\n", argv[0], option.c_str());
      return 1;
    }
  }
  std::ifstream log(arg + 1 == argc ? argv[arg] : "");
  if (!log) {
    std::fprintf(stderr, "usage: %s [-o [PREFIX.]NAME:VALUE]... SCANLOG\n", argv[0]);
    return 2;
  }
  strolvex.onActivated(0);
  std::string text;
  while (std::getline(log, text)) {
    const ScanLine line = parseScanLine(text);
    if (line.kind != ScanLine::kScan) continue;
    strolvex.cycle(line.scan.ranges, line.scan.t_ms);
    std::printf("%" PRId64 " %016" PRIx64 "\n", line.scan.t_ms, strolvex.stateDigest());
  }
  strolvex.onDeactivated(0);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
