// The static surroundings of the simulated sensor.
#ifndef STROLVEX_TOOLS_SIMULATOR_ROOM_H
#define STROLVEX_TOOLS_SIMULATOR_ROOM_H

#include <vector>

#include "tools/simulator/SceneGeometry.h"

struct Wall {
  Vec2 a;
  Vec2 b;
};

struct Pillar {
  Vec2 centre;
  double radius;
};

struct Room {
  std::vector<Wall> walls;
  std::vector<Pillar> pillars;

  // Distance along a ray to the nearest wall or pillar, +infinity if none.
  double distanceAlong(Vec2 direction) const;
};

// A hall 9.2 m wide with the sensor 0.4 m in front of the back wall, the
// front wall 3.9 m ahead and a pillar on each side. The pillars stand where
// nobody walks, and the ring 2.8-4 m in front of the sensor where tracks
// start holds nothing static.
Room standardRoom();

#endif
