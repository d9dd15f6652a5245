// Rate limit for the warning about scans too short for the configured step
// range: a sensor that keeps sending them would otherwise flood the log at
// the scan rate.
#ifndef STROLVEX_COMPONENT_SHORTSCANWARNING_H
#define STROLVEX_COMPONENT_SHORTSCANWARNING_H

#include <cstdint>

class ShortScanWarning {
 public:
  static const int32_t kQuietPeriodMs = 10000;

  // Counts one ignored scan at nowMs (milliseconds, wrapping). Returns 0 while
  // the quiet period after the last warning lasts; otherwise a warning is due
  // and the result is the number of scans ignored since the last warning,
  // this one included.
  int32_t noteIgnoredScan(int32_t nowMs);

 private:
  bool warnedBefore_ = false;
  int32_t lastWarningMs_ = 0;
  int32_t unreported_ = 0;
};

#endif
