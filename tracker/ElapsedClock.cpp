#include "tracker/ElapsedClock.h"

int32_t MonotonicClock::nowMs() {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - origin_);
  // Keep the low 32 bits; the conversion back to a signed value is done on
  // the unsigned bit pattern so that it stays well defined after a wrap.
  const uint32_t bits = static_cast<uint32_t>(static_cast<uint64_t>(elapsed.count()));
  return bits <= 0x7FFFFFFFu ? static_cast<int32_t>(bits)
                             : -static_cast<int32_t>(~bits) - 1;
}
