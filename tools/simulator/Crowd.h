// The people of the simulated scene: who walks where and when, drawn from a
// seeded sequence so that a seed always gives the same crowd.
#ifndef STROLVEX_TOOLS_SIMULATOR_CROWD_H
#define STROLVEX_TOOLS_SIMULATOR_CROWD_H

#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

#include "tools/simulator/SceneGeometry.h"
#include "tools/simulator/SceneRandom.h"

// One person: a circle moving at constant velocity along a straight path
// that crosses the forward axis (x = 0) halfway.
struct Walker {
  int id;
  bool goesIn;        // from x < 0 to x > 0 (bearing positive to negative)
  double radius;      // mm
  Vec2 start;         // mm
  Vec2 velocity;      // mm/s
  double spawnTime;   // s
  double crossTime;   // s, at x = 0
  double leaveTime;   // s
  double enterView;   // s, when the tracker can first see the person
  double leaveView;   // s, when it sees the person last

  Vec2 positionAt(double t) const {
    const double dt = t - spawnTime;
    return {start.x + velocity.x * dt, start.y + velocity.y * dt};
  }
};

// A walker's pass over the forward axis, as the counting sees it.
struct Crossing {
  int person;
  bool goesIn;
  double time;  // s
};

struct CrowdSettings {
  uint64_t seed = 1;
  double peoplePerMinute = 30.0;  // asked for; some arrive later so that every pass stays countable
  double minSpeed = 500.0;  // mm/s
  double maxSpeed = 1800.0;
  double quietStart = 1.0;  // s with the room alone
  // No walker crosses later than this (s): the scene ends cleanly.
  double lastCrossing = std::numeric_limits<double>::infinity();
};

class Crowd {
 public:
  explicit Crowd(const CrowdSettings& settings);

  // Brings in everyone who has arrived by time t (s, never decreasing) and
  // sends home everyone who has left; appends the axis crossings since the
  // previous call, in the order the people arrived.
  void advanceTo(double t, std::vector<Crossing>& crossings);

  const std::vector<Walker>& present() const { return present_; }

 private:
  Walker nextWalker();
  void placeAt(Walker& walker, double spawn) const;
  bool keepsClearOf(const Walker& walker, const Walker& earlier) const;

  CrowdSettings settings_;
  SceneRandom random_;
  int generated_;
  std::deque<Walker> recent_;  // the last walkers generated, newest last
  bool pendingValid_;          // recent_.back() has yet to arrive
  std::vector<Walker> present_;
  double now_;
};

#endif
