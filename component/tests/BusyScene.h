// Scans of a busy scene for robustness tests: three people walking across
// the start zone in front of a wall, with every kind of bad reading mixed in.
#ifndef STROLVEX_COMPONENT_TESTS_BUSYSCENE_H
#define STROLVEX_COMPONENT_TESTS_BUSYSCENE_H

#include <cstdlib>
#include <limits>
#include <vector>

// Scan n of the scene, `length` readings long (at least 726); people stay
// within steps 111..678.
inline std::vector<double> busySceneScan(int n, std::size_t length = 726) {
  std::vector<double> ranges(length, 3800.0);
  for (int person = 0; person < 3; ++person) {
    const int walk = (n * 3 + person * 70) % 150;
    const int centre = 120 + person * 200 + walk;
    for (int s = centre - 9; s <= centre + 9; ++s) ranges[static_cast<std::size_t>(s)] = 3300.0;
  }
  // Bad readings, both on people and on the wall.
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), -5.0, 0.0, 1e300};
  for (int k = 0; k < 6; ++k) {
    ranges[static_cast<std::size_t>(100 + 97 * k + n % 7)] = bad[k];
    ranges[static_cast<std::size_t>(60 + 113 * k + n % 11)] = bad[(k + n) % 6];
  }
  return ranges;
}

#endif
