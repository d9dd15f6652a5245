// strolvex-replay [-f FILE] [-o KEY:VALUE]... SCANLOG
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "launcher/ManagerArguments.h"
#include "launcher/TerminationSignals.h"
#include "tools/replay/Replay.h"

namespace {

void printUsage(std::FILE* stream) {
  std::fputs(
      "usage: strolvex-replay [-f FILE] [-o KEY:VALUE]... SCANLOG\n"
      "Runs the scans of SCANLOG through a Strolvex component, one execution\n"
      "cycle per scan, and prints one JSON line per published result:\n"
      "  {\"t\":T,\"x\":[...],\"y\":[...],\"v\":[...],\"h\":[...],\"count\":[IN,OUT,PRESENT]}\n"
      "  -f FILE        the middleware manager's configuration\n"
      "  -o KEY:VALUE   one configuration key, over the file; repeatable, e.g.\n"
      "                 -o Category.Strolvex.conf.default.Human_NUM:4\n"
      "  -h, --help     this text\n"
      "Exit status: 0 done, 1 malformed lines were skipped (or the command line\n"
      "was wrong), 2 the scan log could not be read, 3 the component could not be\n"
      "run or the results written, 128+N after signal N (SIGINT, SIGTERM) once\n"
      "the results so far are written.\n",
      stream);
}

}  // namespace

int main(int argc, char** argv) {
  TerminationSignals signals;
  ManagerArguments arguments;
  std::string error;
  if (!arguments.parse(std::vector<std::string>(argv + 1, argv + argc),
                       ManagerArguments::kNoServantOptions, error)) {
    std::fprintf(stderr, "strolvex-replay: %s (see -h)\n", error.c_str());
    return kReplayMalformedLines;
  }
  if (arguments.helpWanted()) {
    printUsage(stdout);
    return kReplayOk;
  }
  if (arguments.operands().size() != 1) {
    printUsage(stderr);
    return kReplayUnreadableLog;
  }
  // Standard output carries the results alone: whatever the middleware
  // writes there (some series print lines of their own when they set up
  // logging) goes to standard error instead.
  const int resultsFd = dup(STDOUT_FILENO);
  std::FILE* results = resultsFd < 0 ? nullptr : fdopen(resultsFd, "w");
  if (results == nullptr || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    std::perror("strolvex-replay: standard output");
    return kReplayNotRunnable;
  }
  // Answered by the replay itself, which stops after the scan at hand.
  signals.answer([](int) {});
  const int status = runReplay("strolvex-replay", arguments, arguments.operands().front(), results,
                               stderr, signals);
  return std::fclose(results) == 0 || status != kReplayOk ? status : kReplayNotRunnable;
}
