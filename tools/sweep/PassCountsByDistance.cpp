#include "tools/sweep/PassCountsByDistance.h"

PassCountsByDistance::PassCountsByDistance(const std::vector<int32_t>& distances) {
  for (int32_t distance : distances) counters_.push_back(Counter{distance, {}, 0, 0});
}

void PassCountsByDistance::slotCounted(int slot, double range, double bearing,
                                       const PassCountingRule& rule) {
  for (Counter& counter : counters_) {
    if (counter.passStates.size() <= static_cast<std::size_t>(slot))
      counter.passStates.resize(static_cast<std::size_t>(slot) + 1, 0);
    PassCountingRule own = rule;
    own.countAreaDistance = counter.distance;
    switch (advancePassState(counter.passStates[static_cast<std::size_t>(slot)], range, bearing, own)) {
      case PassCounted::kIn:
        ++counter.in;
        break;
      case PassCounted::kOut:
        ++counter.out;
        break;
      case PassCounted::kNone:
        break;
    }
  }
}

void PassCountsByDistance::slotReleased(int slot) {
  for (Counter& counter : counters_)
    if (static_cast<std::size_t>(slot) < counter.passStates.size())
      counter.passStates[static_cast<std::size_t>(slot)] = 0;
}
