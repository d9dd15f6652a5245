// A room with people walking across a default-geometry sensor's forward
// axis: scenes with a known outcome for the tools that replay scan logs.
#ifndef STROLVEX_TOOLS_REPLAY_TESTS_CROSSINGSCENE_H
#define STROLVEX_TOOLS_REPLAY_TESTS_CROSSINGSCENE_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "tools/scanlog/ScanLog.h"

// A person of 220 mm radius walking at forward distance y from x = fromX
// to x = toX, one step per scan.
struct Walk {
  int firstScan, scans;
  double y, fromX, toX;
  bool visibleAt(int scan) const { return scan >= firstScan && scan < firstScan + scans; }
  double xAt(int scan) const { return fromX + (toX - fromX) * (scan - firstScan) / (scans - 1); }
};

// Scan `scan` (10 Hz from 1000 ms) of a room with walls at x = +-3900,
// y = -1500 and 3900: steps 0..768, step 384 ahead, 1024 steps per turn.
inline ScanRecord sceneScan(int scan, const std::vector<Walk>& walks) {
  ScanRecord record{1000 + scan * 100, {}};
  for (int step = 0; step <= 768; ++step) {
    const double angle = (step - 384) * 2.0 * 3.141592653589793 / 1024.0;
    const double dx = std::sin(angle), dy = std::cos(angle);
    double range = dx != 0 ? 3900.0 / std::fabs(dx) : std::numeric_limits<double>::infinity();
    if (dy != 0) range = std::min(range, dy > 0 ? 3900.0 / dy : -1500.0 / dy);
    for (const Walk& walk : walks) {
      if (!walk.visibleAt(scan)) continue;
      const double cx = walk.xAt(scan), along = dx * cx + dy * walk.y;
      const double disc = along * along - (cx * cx + walk.y * walk.y - 220.0 * 220.0);
      if (disc >= 0 && along - std::sqrt(disc) > 0) range = std::min(range, along - std::sqrt(disc));
    }
    record.ranges.push_back(std::round(range));
  }
  return record;
}

// Ten empty scans teach the background; A walks left to right at 1 m/s,
// 2350 mm ahead (one "in"), is released, then B the other way (one "out").
const std::vector<Walk> kCrossings = {{10, 45, 2350.0, -2200.0, 2200.0},
                                      {85, 45, 2450.0, 2200.0, -2200.0}};
const int kCrossingScans = 160;

inline void writeCrossingsLog(const std::string& path) {
  std::ofstream log(path);
  log << "# synthetic scene: room and walkers\n";
  for (int scan = 0; scan < kCrossingScans; ++scan) log << formatScanLine(sceneScan(scan, kCrossings)) << '\n';
}

#endif
