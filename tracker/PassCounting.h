// The counting of passes across the sensor's forward axis: a track armed
// farther than the counting distance on one side is counted when it is next
// seen on the other side within the counting band. The component counts
// with it, and so can a tool that follows the component's tracks under
// other counting distances (PassCountingObserver).
#ifndef STROLVEX_TRACKER_PASSCOUNTING_H
#define STROLVEX_TRACKER_PASSCOUNTING_H

#include <cstdint>

struct PassCountingRule {
  int32_t countAreaDistance;     // Count_area_distance, mm
  int32_t environmentalMaxdata;  // the outer limit of the tracking area, mm
  bool outFirst;                 // Count_mode "OUT,IN": the first side is that of negative bearings
};

enum class PassCounted { kNone, kIn, kOut };

// Advances a track's pass state (0 idle, 1/2 armed, 3 counted) for its
// newest range and bearing; says what it counted.
inline PassCounted advancePassState(int32_t& passState, double range, double bearing,
                                    const PassCountingRule& rule) {
  const int64_t countBand = 500;
  const bool onFirstSide = rule.outFirst ? bearing < 0 : bearing > 0;
  const bool onSecondSide = rule.outFirst ? bearing > 0 : bearing < 0;
  const bool insideArea = range < rule.environmentalMaxdata;
  if (passState != 3 && rule.countAreaDistance < range && insideArea) {
    if (onFirstSide)
      passState = 1;
    else if (onSecondSide)
      passState = 2;
  }
  const bool inCountBand =
      static_cast<int64_t>(rule.countAreaDistance) - countBand < range && insideArea;
  if (passState == 1 && inCountBand && onSecondSide) {
    passState = 3;
    return PassCounted::kIn;
  }
  if (passState == 2 && inCountBand && onFirstSide) {
    passState = 3;
    return PassCounted::kOut;
  }
  return PassCounted::kNone;
}

// Told what pass counting sees, slot by slot, in the cycle's order.
class PassCountingObserver {
 public:
  virtual ~PassCountingObserver() = default;
  // Slot's newest range and bearing went through the rule.
  virtual void slotCounted(int slot, double range, double bearing, const PassCountingRule& rule) = 0;
  // Slot was released: its pass state is idle again.
  virtual void slotReleased(int slot) = 0;
};

#endif
