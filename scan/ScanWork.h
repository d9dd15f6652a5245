// Per-step working data of one activation: the current scan after clamping
// and filling, the background model and the foreground flags.
#ifndef STROLVEX_SCAN_SCANWORK_H
#define STROLVEX_SCAN_SCANWORK_H

#include <cstdint>

// Step arrays are indexed directly by scan step number.
const int kScanSteps = 1100;

// Plain record: allocated zero-filled, no constructor.
struct ScanWork {
  double range[kScanSteps];       // clamped and filled range, mm
  double background[kScanSteps];  // farthest range seen since activation, 0 = none yet
  int32_t foreground[kScanSteps]; // 1 = nearer than the background
  // Sensor parameters in force at the last intake, so that a copy of this
  // record describes itself (the monitor draws from such a copy).
  int32_t lrfdata_min;
  int32_t lrfdata_max;
  int32_t lrfdata_mid;
  int32_t lrfdata_theta;
  int32_t lrf_total_steps;
};

#endif
