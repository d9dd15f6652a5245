// The tracker's random numbers: the classic Microsoft C runtime rand()
// sequence, owned per component so nothing else in the process can disturb
// it and recordings replay identically on every platform.
#ifndef STROLVEX_TRACKER_MSVCRANDOM_H
#define STROLVEX_TRACKER_MSVCRANDOM_H

#include <cstdint>

class MsvcRandom {
 public:
  // 0..32767
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  uint32_t state_ = 1;
};

#endif
