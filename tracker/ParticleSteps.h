// The particle filter's per-particle arithmetic, two particles (or two
// slots) per SSE2 register where the processor has it. Each lane does
// exactly the IEEE operations of the one-at-a-time code, in the same order,
// so both give the same bits; the one-at-a-time code is the fallback.
#ifndef STROLVEX_TRACKER_PARTICLESTEPS_H
#define STROLVEX_TRACKER_PARTICLESTEPS_H

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "tracker/TrackRecord.h"

namespace particle_steps {

#if defined(__SSE2__)
// draw % divisor for four draws (0..32767) as d - divisor * floor(d * m / 2^shift);
// the multiplier fits a signed 16-bit lane and the product 31 bits.
template <int Divisor, int Multiplier, int Shift>
inline __m128i remainders(__m128i draws) {
  const __m128i quotient =
      _mm_srli_epi32(_mm_madd_epi16(draws, _mm_set1_epi32(Multiplier)), Shift);
  return _mm_sub_epi32(draws, _mm_madd_epi16(quotient, _mm_set1_epi32(Divisor)));
}
inline __m128i hundredths(__m128i draws) { return remainders<100, 10486, 20>(draws); }
inline __m128i twoHundredths(__m128i draws) { return remainders<200, 20972, 22>(draws); }

// Moves particles k and k + 1 by stepY * (y draw + offset) and
// stepX * (x draw + offset), given their draws (y, x, y, x) as remainders.
inline void moveTwo(double* y, double* x, int k, __m128i centred, __m128d stepY, __m128d stepX) {
  const __m128i ordered = _mm_shuffle_epi32(centred, _MM_SHUFFLE(3, 1, 2, 0));  // y y x x
  const __m128d dy = _mm_cvtepi32_pd(ordered);
  const __m128d dx = _mm_cvtepi32_pd(_mm_unpackhi_epi64(ordered, ordered));
  _mm_storeu_pd(y + k, _mm_add_pd(_mm_loadu_pd(y + k), _mm_mul_pd(stepY, dy)));
  _mm_storeu_pd(x + k, _mm_add_pd(_mm_loadu_pd(x + k), _mm_mul_pd(stepX, dx)));
}
#endif

// Each particle's draw % 100: the fraction of the total weight its copy
// is picked at.
inline void hundredths(const int32_t* draws, int32_t* remainders) {
  int k = 0;
#if defined(__SSE2__)
  for (; k + 4 <= kParticleCount; k += 4) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + k));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(remainders + k), hundredths(d));
  }
#endif
  for (; k < kParticleCount; ++k) remainders[k] = draws[k] % 100;
}

// A random walk of up to amplitude * 100 along each axis: per particle the
// y draw, then the x draw.
inline void walk(double* y, double* x, double amplitude, const int32_t* draws) {
  int k = 0;
#if defined(__SSE2__)
  const __m128d step = _mm_set1_pd(amplitude);
  const __m128i hundred = _mm_set1_epi32(100);
  for (; k + 2 <= kParticleCount; k += 2) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + 2 * k));
    moveTwo(y, x, k, _mm_sub_epi32(twoHundredths(d), hundred), step, step);
  }
#endif
  for (; k < kParticleCount; ++k) {
    y[k] += amplitude * (draws[2 * k] % 200 - 100);
    x[k] += amplitude * (draws[2 * k + 1] % 200 - 100);
  }
}

// Coasting: steps of stepY and stepX, -20..79 of them per particle.
inline void coast(double* y, double* x, double stepY, double stepX, const int32_t* draws) {
  int k = 0;
#if defined(__SSE2__)
  const __m128d alongY = _mm_set1_pd(stepY);
  const __m128d alongX = _mm_set1_pd(stepX);
  const __m128i twenty = _mm_set1_epi32(20);
  for (; k + 2 <= kParticleCount; k += 2) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + 2 * k));
    moveTwo(y, x, k, _mm_sub_epi32(hundredths(d), twenty), alongY, alongX);
  }
#endif
  for (; k < kParticleCount; ++k) {
    y[k] += stepY * (draws[2 * k] % 100 - 20);
    x[k] += stepX * (draws[2 * k + 1] % 100 - 20);
  }
}

}  // namespace particle_steps

#endif
