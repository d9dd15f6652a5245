// A synthetic room that a default-geometry sensor sees, with people
// walking across its forward axis: scenes with a known outcome for the
// tests of the tools that replay scan logs.
#ifndef STROLVEX_TOOLS_REPLAY_TESTS_CROSSINGSCENE_H
#define STROLVEX_TOOLS_REPLAY_TESTS_CROSSINGSCENE_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "tools/scanlog/ScanLog.h"

// A person of 220 mm radius walking at a constant forward distance y from
// x = fromX to x = toX, one step per scan.
struct Walk {
  int firstScan, scans;
  double y, fromX, toX;
  bool visibleAt(int scan) const { return scan >= firstScan && scan < firstScan + scans; }
  double xAt(int scan) const { return fromX + (toX - fromX) * (scan - firstScan) / (scans - 1); }
};

// Scan `scan` (10 Hz from 1000 ms) of a room with walls at x = -3900 and
// 3900, y = -1500 and 3900, as a default-geometry sensor sees it: steps
// 0..768, step 384 straight ahead, 1024 steps per turn, whole millimetres.
inline ScanRecord sceneScan(int scan, const std::vector<Walk>& walks) {
  const double inf = std::numeric_limits<double>::infinity();
  ScanRecord record;
  record.t_ms = 1000 + scan * 100;
  for (int step = 0; step <= 768; ++step) {
    const double angle = (step - 384) * 2.0 * 3.141592653589793 / 1024.0;
    const double dx = std::sin(angle);
    const double dy = std::cos(angle);
    double range = dx > 0 ? 3900.0 / dx : dx < 0 ? -3900.0 / dx : inf;
    if (dy != 0) range = std::min(range, dy > 0 ? 3900.0 / dy : -1500.0 / dy);
    for (const Walk& walk : walks) {
      if (!walk.visibleAt(scan)) continue;
      const double cx = walk.xAt(scan);
      const double along = dx * cx + dy * walk.y;
      const double disc = along * along - (cx * cx + walk.y * walk.y - 220.0 * 220.0);
      const double t = disc < 0 ? -1.0 : along - std::sqrt(disc);
      if (t > 0) range = std::min(range, t);
    }
    record.ranges.push_back(std::round(range));
  }
  return record;
}

// Ten empty scans teach the background. A then walks left to right at
// 1 m/s, 2350 mm ahead: its near side starts 3000 mm away, inside the start
// zone; beyond 2500 mm on the left its track is armed for "in", and counts
// once it is right of the axis within 2000..2500 mm (the near side passes
// at about 2130 mm). Unbound, its track is released within the 30 empty
// scans that follow. B walks the other way 2450 mm ahead: one "out".
const std::vector<Walk> kCrossings = {{10, 45, 2350.0, -2200.0, 2200.0},
                                      {85, 45, 2450.0, 2200.0, -2200.0}};
const int kCrossingScans = 160;

#endif
