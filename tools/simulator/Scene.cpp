#include "tools/simulator/Scene.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.141592653589793;
// Noise draws come from their own sequence so that changing the noise
// leaves the crowd as it was.
const uint64_t kNoiseStream = 0x6E6F697365ull;

}  // namespace

Vec2 SensorLayout::direction(int step) const {
  const double angle = (step - frontStep) * 2.0 * kPi / stepsPerTurn;
  return {std::sin(angle), std::cos(angle)};
}

Scene::Scene(const SceneSettings& settings, const SensorLayout& layout, const Room& room)
    : layout_(layout),
      crowd_(settings.crowd),
      noise_(settings.crowd.seed ^ kNoiseStream),
      noiseMm_(settings.noiseMm),
      now_(0.0),
      crossedIn_(0),
      crossedOut_(0) {
  // The room never moves: its ranges are worked out once.
  for (int step = 0; step < layout_.stepCount; ++step) {
    directions_.push_back(layout_.direction(step));
    roomRanges_.push_back(room.distanceAlong(directions_.back()));
  }
}

const std::vector<Crossing>& Scene::advanceTo(double t) {
  crossings_.clear();
  crowd_.advanceTo(t, crossings_);
  now_ = t;
  for (const Crossing& crossing : crossings_) ++(crossing.goesIn ? crossedIn_ : crossedOut_);
  return crossings_;
}

void Scene::render(std::vector<double>& ranges) {
  const std::vector<Walker>& people = crowd_.present();
  centres_.clear();
  for (const Walker& walker : people) centres_.push_back(walker.positionAt(now_));
  ranges.resize(layout_.stepCount);
  for (int step = 0; step < layout_.stepCount; ++step) {
    double nearest = roomRanges_[step];
    for (std::size_t k = 0; k < people.size(); ++k)
      nearest = std::min(nearest, rayToCircle(directions_[step], centres_[k], people[k].radius));
    if (std::isinf(nearest)) {
      ranges[step] = 0.0;
      continue;
    }
    if (noiseMm_ > 0.0) {
      // Two draws make a triangular spread, likelier near the true range.
      const double up = noise_.unit();
      const double down = noise_.unit();
      nearest += noiseMm_ * (up - down);
    }
    ranges[step] = std::max(0.0, std::round(nearest));
  }
}
