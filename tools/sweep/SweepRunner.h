// Replays a parsed scan log under every configuration of a grid: each
// group of configurations that differ in the counting distance alone in a
// process of its own forked from this one, several at a time.
//
// A configuration costs only its cycles: the log is parsed once for all
// of them (ScanCache), a group's configurations share their tracking, and
// a process reports counts, not a result line per scan. Its own process
// gives each group the one manager a process can have, and keeps a group
// that fails from touching the others.
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPRUNNER_H
#define STROLVEX_TOOLS_SWEEP_SWEEPRUNNER_H

#include <cstdio>
#include <string>
#include <vector>

#include "tools/sweep/SweepRow.h"

class ScanCache;
class SweepGrid;
class SweepSignals;

struct SweepPlan {
  std::string program;
  std::vector<std::string> managerOptions;  // the user's -f and -o, for every configuration
  int jobs = 1;                             // replays running at once
};

// The rows in grid order. Once signals has received one, the running
// replays are ended and the rows not finished stay uncounted. The calling
// process must not have started a manager. Progress goes to progress when
// that is a terminal.
std::vector<SweepRow> runSweep(const SweepPlan& plan, const SweepGrid& grid, const ScanCache& cache,
                               SweepSignals& signals, std::FILE* progress);

#endif
