#include "tools/simulator/SceneGeometry.h"

#include <cmath>
#include <limits>

namespace {

const double kMiss = std::numeric_limits<double>::infinity();

double cross(Vec2 u, Vec2 v) { return u.x * v.y - u.y * v.x; }

}  // namespace

double rayToSegment(Vec2 direction, Vec2 a, Vec2 b) {
  const Vec2 edge = {b.x - a.x, b.y - a.y};
  const double denominator = cross(direction, edge);
  if (denominator == 0.0) return kMiss;  // parallel: a grazing ray sees nothing
  const double distance = cross(a, edge) / denominator;
  const double along = cross(a, direction) / denominator;
  if (distance <= 0.0 || along < 0.0 || along > 1.0) return kMiss;
  return distance;
}

double rayToCircle(Vec2 direction, Vec2 centre, double radius) {
  const double towardCentre = direction.x * centre.x + direction.y * centre.y;
  const double discriminant =
      towardCentre * towardCentre - (centre.x * centre.x + centre.y * centre.y - radius * radius);
  if (discriminant < 0.0) return kMiss;
  const double nearSide = towardCentre - std::sqrt(discriminant);
  // The sensor never stands inside a body, so only the near side counts.
  return nearSide > 0.0 ? nearSide : kMiss;
}
