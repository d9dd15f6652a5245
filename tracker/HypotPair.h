// Hypotenuses two (SSE2) or four (AVX) at a time with the bits of the C
// library's hypot.
//
// glibc 2.35 and later compute hypot(x, y) for finite arguments, with
// ax = max(|x|, |y|) and ay = min(|x|, |y|) in 2^-459 <= ay, ax <= 2^511, as
//   ay <= ax * 2^-54:  ax + ay
//   otherwise:         h = sqrt(ax*ax + ay*ay), then one correction step
//                      (Borges, "An improved algorithm for hypot(a,b)", 2019)
// and scale the arguments outside that range. Each lane below does those
// IEEE operations in that order; a lane outside the range (tiny but not
// zero, huge, infinite or NaN) is handed to the library itself. A zero ay
// gives ax + ay in both. The test beside the tracker compares the two on
// every magnitude, so a C library that computes hypot otherwise fails it.
#ifndef STROLVEX_TRACKER_HYPOTPAIR_H
#define STROLVEX_TRACKER_HYPOTPAIR_H

#if defined(__SSE2__)
#include <immintrin.h>

#include <cmath>

namespace particle_steps {

// V is a GCC vector of doubles (__m128d, __m256d): its operators work lane
// by lane, and its comparisons give lane masks (Mask) of -1 or 0. Lanes
// gives what the operators do not: the square root, and whether a mask is
// set in every lane. Vectors go by reference, so its AVX form never passes
// one by the baseline ABI.
template <class V, class Mask, class Lanes>
__attribute__((always_inline)) inline void hypotLanes(const V& x, const V& y, V& out) {
  const int kLanes = sizeof(V) / sizeof(double);
  const V absX = (V)((Mask)x & 0x7fffffffffffffffLL), absY = (V)((Mask)y & 0x7fffffffffffffffLL);
  const V ax = absX < absY ? absY : absX, ay = absX < absY ? absX : absY;

  V h;
  Lanes::root(ax * ax + ay * ay, h);
  const V twoAy = ay + ay;
  // h <= 2 ay: the two sides are close.
  const V deltaNear = h - ay;
  const V axMinusAy = ax - ay;
  const V sumNear = (deltaNear + deltaNear - ax) * ax + (deltaNear - (axMinusAy + axMinusAy)) * deltaNear;
  // Otherwise.
  const V deltaFar = h - ax;
  const V sumFar = (deltaFar + deltaFar) * (ax - twoAy) + ((4.0 * deltaFar - ay) * ay + deltaFar * deltaFar);
  const V corrected = h - (h <= twoAy ? sumNear : sumFar) / (h + h);
  V result = ay <= ax * 0x1p-54 ? ax + ay : corrected;

  // Lanes the library scales or treats specially; both magnitudes are
  // tested, as a NaN fails every comparison.
  const Mask ordinary = (absX <= 0x1p511) & (absY <= 0x1p511) & ((ay >= 0x1p-459) | (ay == 0.0));
  if (!Lanes::allSet(ordinary)) {
    for (int lane = 0; lane < kLanes; ++lane)
      if (!ordinary[lane]) result[lane] = std::hypot(x[lane], y[lane]);
  }
  out = result;
}

typedef long long TwoMasks __attribute__((vector_size(16)));
typedef long long FourMasks __attribute__((vector_size(32)));

struct Sse2Lanes {
  static void root(const __m128d& v, __m128d& root) { root = _mm_sqrt_pd(v); }
  static bool allSet(const TwoMasks& mask) { return _mm_movemask_pd((__m128d)mask) == 0x3; }
};
inline __m128d hypotPair(__m128d x, __m128d y) {
  __m128d h;
  hypotLanes<__m128d, TwoMasks, Sse2Lanes>(x, y, h);
  return h;
}

struct AvxLanes {
  __attribute__((target("avx"))) static void root(const __m256d& v, __m256d& root) { root = _mm256_sqrt_pd(v); }
  __attribute__((target("avx"))) static bool allSet(const FourMasks& mask) {
    return _mm256_movemask_pd((__m256d)mask) == 0xf;
  }
};
__attribute__((target("avx"))) inline __m256d hypotFour(__m256d x, __m256d y) {
  __m256d h;
  hypotLanes<__m256d, FourMasks, AvxLanes>(x, y, h);
  return h;
}

}  // namespace particle_steps

#endif
#endif
