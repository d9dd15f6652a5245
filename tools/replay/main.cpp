// strolvex-replay [manager options] SCANLOG
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/replay/Replay.h"

namespace {

void printUsage(std::FILE* stream) {
  std::fputs(
      "usage: strolvex-replay [manager options] SCANLOG\n"
      "Runs the scans of SCANLOG through a Strolvex component, one execution\n"
      "cycle per scan, and prints one JSON line per published result:\n"
      "  {\"t\":T,\"x\":[...],\"y\":[...],\"v\":[...],\"h\":[...],\"count\":[IN,OUT,PRESENT]}\n"
      "Manager options (e.g. -f FILE, -o KEY:VALUE) go to the middleware manager.\n"
      "Exit status: 0 done, 1 malformed lines were skipped, 2 the scan log could\n"
      "not be read, 3 the component could not be run or the results written.\n"
      "Status 1 also when the manager rejects its options (an unknown option, an\n"
      "unreadable -f file): it stops the program before any scan, its message on\n"
      "standard error.\n",
      stream);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    printUsage(stdout);
    return kReplayOk;
  }
  if (argc < 2) {
    printUsage(stderr);
    return kReplayUnreadableLog;
  }
  const std::vector<std::string> managerOptions(argv + 1, argv + argc - 1);
  return runReplay("strolvex-replay", managerOptions, argv[argc - 1], stdout, stderr);
}
