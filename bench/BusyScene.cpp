#include "bench/BusyScene.h"

#include <algorithm>
#include <cmath>

#include "tools/simulator/Room.h"

namespace {

const double kPi = 3.141592653589793;
const double kBodyRadius = 200.0;      // mm
const double kStandingRange = 3300.0;  // mm, inside the 2.8-4 m start ring
const double kSwayRadius = 80.0;       // mm
// Bearings stay clear of the pillars beside the sensor.
const double kWidestBearing = 65.0 * kPi / 180.0;
const double kPeriodsS[] = {4.0, 5.0, 8.0, 10.0};

Vec2 personAt(int person, int people, double t) {
  const double bearing = -kWidestBearing + 2.0 * kWidestBearing * (person + 0.5) / people;
  const double phase = 2.0 * kPi * t / kPeriodsS[person % 4] + person;
  return {kStandingRange * std::sin(bearing) + kSwayRadius * std::cos(phase),
          kStandingRange * std::cos(bearing) + kSwayRadius * std::sin(phase)};
}

}  // namespace

BusyScene::BusyScene(int people) : people_(people) {
  const Room room = standardRoom();
  for (int step = 0; step < layout_.stepCount; ++step) {
    directions_.push_back(layout_.direction(step));
    roomRanges_.push_back(room.distanceAlong(directions_.back()));
  }
}

void BusyScene::render(int n, ScanRecord& scan) const {
  scan.t_ms = 100 * static_cast<int64_t>(n);
  const double t = scan.t_ms / 1000.0;
  std::vector<Vec2> centres;
  for (int person = 0; n > 0 && person < people_; ++person)
    centres.push_back(personAt(person, people_, t));
  scan.ranges.resize(static_cast<std::size_t>(layout_.stepCount));
  for (std::size_t step = 0; step < scan.ranges.size(); ++step) {
    double nearest = roomRanges_[step];
    for (const Vec2& centre : centres)
      nearest = std::min(nearest, rayToCircle(directions_[step], centre, kBodyRadius));
    scan.ranges[step] = std::isinf(nearest) ? 0.0 : std::round(nearest);
  }
}
