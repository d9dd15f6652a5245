#include "tools/replay/tests/ReplayScene.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

namespace {

const int kSensorSteps = 769;  // steps 0..768, beyond the processed 44..725
const double kPi = 3.141592653589793;

// Walls of the room: x = -3900 and 3900, y = -1500 and 3900.
double roomRange(double dx, double dy) {
  double range = std::numeric_limits<double>::infinity();
  if (dx > 0) range = std::min(range, 3900.0 / dx);
  if (dx < 0) range = std::min(range, -3900.0 / dx);
  if (dy > 0) range = std::min(range, 3900.0 / dy);
  if (dy < 0) range = std::min(range, -1500.0 / dy);
  return range;
}

// Distance along the ray (dx, dy) to the circle around (cx, cy), or infinity.
double personRange(double dx, double dy, double cx, double cy) {
  const double along = dx * cx + dy * cy;
  const double disc = along * along - (cx * cx + cy * cy - kPersonRadius * kPersonRadius);
  if (disc < 0) return std::numeric_limits<double>::infinity();
  const double t = along - std::sqrt(disc);
  return t > 0 ? t : std::numeric_limits<double>::infinity();
}

}  // namespace

ScanRecord sceneScan(int scan, const std::vector<Walk>& walks) {
  ScanRecord record;
  record.t_ms = kSceneStartMs + static_cast<int64_t>(scan) * kScenePeriodMs;
  for (int step = 0; step < kSensorSteps; ++step) {
    const double angle = (step - 384) * 2.0 * kPi / 1024.0;
    const double dx = std::sin(angle);
    const double dy = std::cos(angle);
    double range = roomRange(dx, dy);
    for (const Walk& walk : walks)
      if (walk.visibleAt(scan)) range = std::min(range, personRange(dx, dy, walk.xAt(scan), walk.y));
    record.ranges.push_back(std::round(range));
  }
  return record;
}

void writeSceneLog(const std::string& path, int scanCount, const std::vector<Walk>& walks) {
  std::ofstream log(path);
  log << "# synthetic scene: room and walkers\n";
  for (int scan = 0; scan < scanCount; ++scan) log << formatScanLine(sceneScan(scan, walks)) << '\n';
}
