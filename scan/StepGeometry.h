// Where a scan step points. Scan processing, the tracker and the monitor all
// use this one rule.
#ifndef STROLVEX_SCAN_STEPGEOMETRY_H
#define STROLVEX_SCAN_STEPGEOMETRY_H

#include <cstdint>

const double kPi = 3.141592653589793;

// Bearing of a step in radians, 0 straight ahead (at midStep). The integer
// division comes first, so a theta other than 360 groups neighbouring steps
// onto one angle. 64-bit arithmetic gives the 32-bit quotient wherever that
// does not overflow, and no undefined behaviour for absurd parameters.
inline double stepAngle(int32_t step, int32_t midStep, int32_t theta, int32_t totalSteps) {
  const int64_t k = (static_cast<int64_t>(step) - midStep) * static_cast<int64_t>(theta) / 360;
  return static_cast<double>(2 * k) * kPi / totalSteps;
}

#endif
