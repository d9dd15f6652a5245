// Counts the passes of the component's tracks under several counting
// distances at once, following its counting slot by slot: configurations
// that differ in the counting distance alone share one replay.
#ifndef STROLVEX_TOOLS_SWEEP_PASSCOUNTSBYDISTANCE_H
#define STROLVEX_TOOLS_SWEEP_PASSCOUNTSBYDISTANCE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tracker/PassCounting.h"

class PassCountsByDistance : public PassCountingObserver {
 public:
  explicit PassCountsByDistance(const std::vector<int32_t>& distances);

  void slotCounted(int slot, double range, double bearing, const PassCountingRule& rule) override;
  void slotReleased(int slot) override;

  // The counts under distance k (in the order given) since activation.
  int32_t in(std::size_t k) const { return counters_[k].in; }
  int32_t out(std::size_t k) const { return counters_[k].out; }

 private:
  struct Counter {
    int32_t distance;
    std::vector<int32_t> passStates;  // by slot, as the component keeps them
    int32_t in = 0, out = 0;
  };
  std::vector<Counter> counters_;
};

#endif
