#include "tools/simulator/Room.h"

#include <algorithm>
#include <limits>

double Room::distanceAlong(Vec2 direction) const {
  double nearest = std::numeric_limits<double>::infinity();
  for (const Wall& wall : walls) nearest = std::min(nearest, rayToSegment(direction, wall.a, wall.b));
  for (const Pillar& pillar : pillars)
    nearest = std::min(nearest, rayToCircle(direction, pillar.centre, pillar.radius));
  return nearest;
}

Room standardRoom() {
  const double left = -4600.0, right = 4600.0, back = -400.0, front = 3900.0;
  Room room;
  room.walls = {
      {{left, back}, {right, back}},
      {{right, back}, {right, front}},
      {{right, front}, {left, front}},
      {{left, front}, {left, back}},
  };
  room.pillars = {
      {{-3100.0, 1000.0}, 200.0},
      {{3300.0, 800.0}, 150.0},
  };
  return room;
}
