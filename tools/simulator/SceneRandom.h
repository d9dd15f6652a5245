// The simulator's own random numbers: a SplitMix64 sequence, so that a seed
// gives the same scene on every platform and library.
#ifndef STROLVEX_TOOLS_SIMULATOR_SCENERANDOM_H
#define STROLVEX_TOOLS_SIMULATOR_SCENERANDOM_H

#include <cstdint>

class SceneRandom {
 public:
  explicit SceneRandom(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1), from the top 53 bits.
  double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

  double uniform(double low, double high) { return low + (high - low) * unit(); }

 private:
  uint64_t state_;
};

#endif
