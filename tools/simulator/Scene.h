// What the simulated laser sees: the room and the crowd at a moment,
// ray by ray, with seeded range noise.
#ifndef STROLVEX_TOOLS_SIMULATOR_SCENE_H
#define STROLVEX_TOOLS_SIMULATOR_SCENE_H

#include <vector>

#include "tools/simulator/Crowd.h"
#include "tools/simulator/Room.h"
#include "tools/simulator/SceneRandom.h"

// The common scanner layout: 1024 steps per turn, steps 0..768 measured
// (270 degrees), step 384 straight ahead.
struct SensorLayout {
  int stepCount = 769;
  int stepsPerTurn = 1024;
  int frontStep = 384;

  // Unit direction of a step: x = sin(angle) lateral, y = cos(angle) forward.
  Vec2 direction(int step) const;
};

struct SceneSettings {
  CrowdSettings crowd;
  double noiseMm = 15.0;  // readings stray by up to this much either way
};

class Scene {
 public:
  explicit Scene(const SceneSettings& settings, const SensorLayout& layout = SensorLayout(),
                 const Room& room = standardRoom());

  // Moves the scene to time t (s, never decreasing) and returns the axis
  // crossings since the previous call.
  const std::vector<Crossing>& advanceTo(double t);

  // Ranges in whole millimetres for every step at the current time: the
  // nearest hit of each ray, 0 where a ray meets nothing.
  void render(std::vector<double>& ranges);

  int crossedIn() const { return crossedIn_; }
  int crossedOut() const { return crossedOut_; }
  const Crowd& crowd() const { return crowd_; }

 private:
  SensorLayout layout_;
  std::vector<Vec2> directions_;
  std::vector<double> roomRanges_;
  Crowd crowd_;
  SceneRandom noise_;
  double noiseMm_;
  double now_;
  std::vector<Crossing> crossings_;
  std::vector<Vec2> centres_;  // of the people present, at the current time
  int crossedIn_;
  int crossedOut_;
};

#endif
