// The tracker's random numbers: the classic Microsoft C runtime rand()
// sequence, owned per component so nothing else in the process can disturb
// it and recordings replay identically on every platform.
#ifndef STROLVEX_TRACKER_MSVCRANDOM_H
#define STROLVEX_TRACKER_MSVCRANDOM_H

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

  // The next count draws, as count calls of next() would give them. With
  // SSE2, sixteen consecutive states in four registers, each state jumping
  // sixteen at a time: the four registers' chains run side by side, so no
  // draw waits on the one before.
  void fill(int32_t* draws, int count) {
    int k = 0;
#if defined(__SSE2__)
    using namespace msvc_random;
    if (count >= kBlock) {
      uint32_t first[kBlock];
      for (uint32_t& state : first) state = state_ = state_ * kMultiplier + kIncrement;
      __m128i states[kBlock / 4];
      for (int r = 0; r < kBlock / 4; ++r) states[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + 4 * r));
      constexpr Jump block = jump(kBlock);
      const __m128i multiplier = _mm_set1_epi32(static_cast<int>(block.multiplier));
      const __m128i increment = _mm_set1_epi32(static_cast<int>(block.increment));
      const __m128i mask = _mm_set1_epi32(0x7FFF);
      for (;;) {
        for (int r = 0; r < kBlock / 4; ++r)
          _mm_storeu_si128(reinterpret_cast<__m128i*>(draws + k + 4 * r),
                           _mm_and_si128(_mm_srli_epi32(states[r], 16), mask));
        k += kBlock;
        if (k + kBlock > count) break;
        for (__m128i& state : states) state = _mm_add_epi32(multiplyLow(state, multiplier), increment);
      }
      state_ = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(states[kBlock / 4 - 1], 3)));
    }
#endif
    for (; k < count; ++k) draws[k] = next();
  }

 private:
#if defined(__SSE2__)
  // The low 32 bits of each lane's product.
  static __m128i multiplyLow(__m128i a, __m128i b) {
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
  }
#endif

  static const int kBlock = 16;

  static int output(uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

  uint32_t state_ = 1;
};

#endif
