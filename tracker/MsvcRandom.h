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
  // SSE2, four consecutive states side by side, each jumping four states
  // at a time, so the draws do not wait on one another.
  void fill(int32_t* draws, int count) {
    int k = 0;
#if defined(__SSE2__)
    using namespace msvc_random;
    if (count >= 4) {
      constexpr Jump j1 = jump(1), j2 = jump(2), j3 = jump(3), j4 = jump(4);
      const uint32_t s = state_;
      __m128i states = _mm_setr_epi32(
          static_cast<int>(j1.multiplier * s + j1.increment), static_cast<int>(j2.multiplier * s + j2.increment),
          static_cast<int>(j3.multiplier * s + j3.increment), static_cast<int>(j4.multiplier * s + j4.increment));
      const __m128i multiplier = _mm_set1_epi32(static_cast<int>(j4.multiplier));
      const __m128i increment = _mm_set1_epi32(static_cast<int>(j4.increment));
      const __m128i mask = _mm_set1_epi32(0x7FFF);
      for (;;) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(draws + k),
                         _mm_and_si128(_mm_srli_epi32(states, 16), mask));
        k += 4;
        if (k + 4 > count) break;
        states = _mm_add_epi32(multiplyLow(states, multiplier), increment);
      }
      state_ = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(states, 3)));
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

  static int output(uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

  uint32_t state_ = 1;
};

#endif
