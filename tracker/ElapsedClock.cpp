#include "tracker/ElapsedClock.h"

int32_t MonotonicClock::nowMs() {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - origin_);
  return wrapMilliseconds(static_cast<uint64_t>(elapsed.count()));
}
