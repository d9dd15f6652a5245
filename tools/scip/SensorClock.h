// Maps the sensor's 24-bit millisecond time stamps to host time, so that
// scans keep the spacing the sensor measured them with rather than the one
// the link delivered them at.
//
// The host time of a scan is its stamp plus an offset. The offset follows
// the smallest (host reception - sensor stamp) seen, which is the transfer
// delay without the link's jitter, and may rise slowly (driftPerMs) so that
// a sensor clock running slow does not leave the host time behind; it is
// never more than maxLagMs below the reception time. A stamp that goes
// backwards (a sensor reset) or jumps more than maxGapMs starts over. Host
// times never decrease.
#ifndef STROLVEX_TOOLS_SCIP_SENSORCLOCK_H
#define STROLVEX_TOOLS_SCIP_SENSORCLOCK_H

#include <cstdint>

class SensorClock {
 public:
  static const uint32_t kStampRange = 1u << 24;  // the timer wraps after ~4.66 h

  struct Limits {
    double maxLagMs = 100.0;
    double maxGapMs = 10000.0;
    double driftPerMs = 2e-4;
  };

  SensorClock() = default;
  explicit SensorClock(const Limits& limits) : limits_(limits) {}

  // The host time (ms, same clock as receivedMs) at which the scan stamped
  // `stamp` was measured, given that it was received at receivedMs.
  double hostTime(uint32_t stamp, double receivedMs);
  // Forgets the past, e.g. after a reconnection or a reset of the sensor.
  void reset() { started_ = false; }

  // The sensor time since the first stamp, unwrapped, of the last stamp.
  int64_t sensorMs() const { return sensorMs_; }
  // How often the clock started over on a jump since construction.
  int restarts() const { return restarts_; }

 private:
  Limits limits_;
  bool started_ = false;
  uint32_t lastStamp_ = 0;
  int64_t sensorMs_ = 0;
  double offset_ = 0.0;
  double lastHostMs_ = 0.0;
  int restarts_ = 0;
};

#endif
