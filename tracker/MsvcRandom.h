// The tracker's random numbers: the classic Microsoft C runtime rand()
// sequence, owned per component so nothing else in the process can disturb
// it and recordings replay identically on every platform.
#ifndef STROLVEX_TRACKER_MSVCRANDOM_H
#define STROLVEX_TRACKER_MSVCRANDOM_H

#include <cstdint>

namespace msvc_random {

const uint32_t kMultiplier = 214013u;
const uint32_t kIncrement = 2531011u;

// state_{n+k} = multiplier * state_n + increment (mod 2^32).
struct Jump {
  uint32_t multiplier;
  uint32_t increment;
};
constexpr Jump jump(int steps) {
  Jump j{1u, 0u};
  for (int s = 0; s < steps; ++s)
    j = Jump{j.multiplier * kMultiplier, j.increment * kMultiplier + kIncrement};
  return j;
}

}  // namespace msvc_random

class MsvcRandom {
 public:
  // 0..32767
  int next() {
    using namespace msvc_random;
    state_ = state_ * kMultiplier + kIncrement;
    return output(state_);
  }

  // The next count draws, as count calls of next() would give them. Four
  // interleaved runs of the sequence, each jumping four states at a time,
  // so the draws do not wait on one another.
  void fill(int32_t* draws, int count) {
    using namespace msvc_random;
    constexpr Jump kJump4 = jump(4);
    int k = 0;
    if (count >= 4) {
      uint32_t s0 = state_ * kMultiplier + kIncrement;
      uint32_t s1 = s0 * kMultiplier + kIncrement;
      uint32_t s2 = s1 * kMultiplier + kIncrement;
      uint32_t s3 = s2 * kMultiplier + kIncrement;
      for (;;) {
        draws[k] = output(s0);
        draws[k + 1] = output(s1);
        draws[k + 2] = output(s2);
        draws[k + 3] = output(s3);
        k += 4;
        if (k + 4 > count) break;
        s0 = s0 * kJump4.multiplier + kJump4.increment;
        s1 = s1 * kJump4.multiplier + kJump4.increment;
        s2 = s2 * kJump4.multiplier + kJump4.increment;
        s3 = s3 * kJump4.multiplier + kJump4.increment;
      }
      state_ = s3;
    }
    for (; k < count; ++k) draws[k] = next();
  }

 private:

  static int output(uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

  uint32_t state_ = 1;
};

#endif
