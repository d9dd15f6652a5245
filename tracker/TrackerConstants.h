// Constants and small rules shared by the tracker's operations.
#ifndef STROLVEX_TRACKER_TRACKERCONSTANTS_H
#define STROLVEX_TRACKER_TRACKERCONSTANTS_H

#include <cmath>
#include <cstdint>

#include "scan/StepGeometry.h"
#include "tracker/TrackRecord.h"

// Identity of a busy slot: the prime of its position (position p has
// kSlotPrimes[p - 1]). The product of all identities names the busy set.
const int32_t kSlotPrimes[kMaxSlots] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};

// The slot count the tracker may touch: the configured count when the
// record arrays can hold it, otherwise none at all.
inline int slotsInUse(int32_t configured) {
  return configured >= 1 && configured <= kMaxSlots ? configured : 0;
}

// Truncation toward zero kept as a double. Adding +0.0 turns a -0.0 result
// into +0.0, as converting through an integer would; the sign of a zero
// estimate decides on which side of the axis atan2 puts a point behind the
// sensor.
inline double truncateToWhole(double value) { return std::trunc(value) + 0.0; }

#endif
