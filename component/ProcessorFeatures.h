// What the processor offers beyond the baseline the build targets; the
// cycle's wide paths are chosen once, at run time.
#ifndef STROLVEX_COMPONENT_PROCESSORFEATURES_H
#define STROLVEX_COMPONENT_PROCESSORFEATURES_H

#if defined(__SSE2__)
inline bool processorHasAvx() {
#if defined(STROLVEX_BASELINE_LANES_ONLY)
  return false;
#else
  static const bool avx = __builtin_cpu_supports("avx");
  return avx;
#endif
}
#endif

#endif
