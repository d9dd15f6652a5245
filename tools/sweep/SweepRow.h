// One configuration of a sweep and what its replay ended with.
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPROW_H
#define STROLVEX_TOOLS_SWEEP_SWEEPROW_H

#include <cstdint>
#include <string>
#include <vector>

struct SweepRow {
  std::vector<std::string> values;  // one per swept parameter
  bool counted = false;             // the replay ran through and published counts
  int32_t in = 0, out = 0;          // the final counts, when counted
  std::string failure;              // why not, when not counted
};

#endif
