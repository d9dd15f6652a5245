// Where a ray from the sensor first meets a wall or a round body.
#ifndef STROLVEX_TOOLS_SIMULATOR_SCENEGEOMETRY_H
#define STROLVEX_TOOLS_SIMULATOR_SCENEGEOMETRY_H

// A point or direction in the sensor's plane: x lateral, y forward, mm.
struct Vec2 {
  double x;
  double y;
};

// The rays start at the sensor (the origin) and run along a unit direction.
// Each function gives the distance to the first hit, or +infinity.
double rayToSegment(Vec2 direction, Vec2 a, Vec2 b);
double rayToCircle(Vec2 direction, Vec2 centre, double radius);

#endif
