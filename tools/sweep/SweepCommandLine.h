// strolvex-sweep's command line:
//   LOG [--set NAME=V1,V2,...|NAME=FROM:TO:STEP]... [-j N] [--truth IN,OUT]
//   [--csv FILE] [-f FILE] [-o KEY:VALUE]...
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPCOMMANDLINE_H
#define STROLVEX_TOOLS_SWEEP_SWEEPCOMMANDLINE_H

#include <string>
#include <vector>

#include "tools/sweep/SweepGrid.h"
#include "tools/sweep/SweepTable.h"

struct SweepCommandLine {
  bool help = false;
  std::string logPath;
  SweepGrid grid;
  int jobs = 0;  // 0: as many as the machine has cores
  bool hasTruth = false;
  TrueCounts truth;
  std::string csvPath;  // empty: no CSV
  std::vector<std::string> managerOptions;  // -f and -o, checked, for every replay
};

// False with error set when an option is unknown or lacks its value, a
// grid setting is bad (see SweepGrid::add), -j is not a count of at least
// 1, --truth is not two counts, the -f file cannot be read, or not exactly
// one log is named.
bool parseSweepCommandLine(const std::vector<std::string>& args, SweepCommandLine& line,
                           std::string& error);

#endif
