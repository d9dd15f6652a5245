// Millisecond time stamps for the tracker's speeds.
#ifndef STROLVEX_TRACKER_ELAPSEDCLOCK_H
#define STROLVEX_TRACKER_ELAPSEDCLOCK_H

#include <chrono>
#include <cstdint>

class ElapsedClock {
 public:
  virtual ~ElapsedClock() {}
  // Milliseconds of elapsed time, wrapping modulo 2^32.
  virtual int32_t nowMs() = 0;
};

// Elapsed time since construction from the monotonic clock (processor time
// would make every speed wrong).
class MonotonicClock : public ElapsedClock {
 public:
  MonotonicClock() : origin_(std::chrono::steady_clock::now()) {}
  int32_t nowMs() override;

 private:
  std::chrono::steady_clock::time_point origin_;
};

// A clock that reads whatever it was last set to (tests, replay).
class ManualClock : public ElapsedClock {
 public:
  void set(int32_t ms) { now_ = ms; }
  int32_t nowMs() override { return now_; }

 private:
  int32_t now_ = 0;
};

// A millisecond count as the 32-bit clock shows it: the low 32 bits, read
// as a signed value without relying on an implementation-defined conversion.
inline int32_t wrapMilliseconds(uint64_t ms) {
  const uint32_t bits = static_cast<uint32_t>(ms);
  return bits <= 0x7FFFFFFFu ? static_cast<int32_t>(bits) : -static_cast<int32_t>(~bits) - 1;
}

// later - earlier in milliseconds, taken modulo 2^32 so that a wrap of the
// 32-bit reading between the two does not disturb the difference.
inline int32_t elapsedBetween(int32_t later, int32_t earlier) {
  return wrapMilliseconds(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

#endif
