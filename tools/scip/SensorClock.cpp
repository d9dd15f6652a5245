#include "tools/scip/SensorClock.h"

const uint32_t SensorClock::kStampRange;

double SensorClock::hostTime(uint32_t stamp, double receivedMs) {
  stamp &= kStampRange - 1;
  const uint32_t delta = (stamp - lastStamp_) & (kStampRange - 1);
  if (started_ && delta > limits_.maxGapMs) ++restarts_;
  if (!started_ || delta > limits_.maxGapMs) {
    started_ = true;
    lastStamp_ = stamp;
    sensorMs_ = 0;
    offset_ = receivedMs;
    lastHostMs_ = receivedMs;
    return receivedMs;
  }
  lastStamp_ = stamp;
  sensorMs_ += delta;
  const double observed = receivedMs - static_cast<double>(sensorMs_);
  offset_ += delta * limits_.driftPerMs;
  if (observed < offset_) offset_ = observed;
  if (offset_ < observed - limits_.maxLagMs) offset_ = observed - limits_.maxLagMs;
  // A faster delivery than any before lowers the offset; scans still must
  // not go back in time.
  double hostMs = static_cast<double>(sensorMs_) + offset_;
  if (hostMs < lastHostMs_) hostMs = lastHostMs_;
  lastHostMs_ = hostMs;
  return hostMs;
}
