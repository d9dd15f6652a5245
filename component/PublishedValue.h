// How a double of the tracking state becomes an element of an output
// sequence.
#ifndef STROLVEX_COMPONENT_PUBLISHEDVALUE_H
#define STROLVEX_COMPONENT_PUBLISHEDVALUE_H

#include <cmath>
#include <cstdint>
#include <limits>

// Truncates toward zero. A plain cast is undefined for NaN and for values
// outside the int32 range, which a diverging estimate could produce: those
// become 0 and the nearest int32 bound instead.
inline int32_t toPublishedInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

#endif
