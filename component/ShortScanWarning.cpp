#include "component/ShortScanWarning.h"

#include "tracker/ElapsedClock.h"

int32_t ShortScanWarning::noteIgnoredScan(int32_t nowMs) {
  ++unreported_;
  if (warnedBefore_ && elapsedBetween(nowMs, lastWarningMs_) < kQuietPeriodMs) {
    return 0;
  }
  warnedBefore_ = true;
  lastWarningMs_ = nowMs;
  const int32_t reported = unreported_;
  unreported_ = 0;
  return reported;
}
