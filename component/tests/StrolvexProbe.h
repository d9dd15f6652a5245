// White-box access to a Strolvex component, and a way to make its
// tracking-state allocations fail.
#ifndef STROLVEX_COMPONENT_TESTS_STROLVEXPROBE_H
#define STROLVEX_COMPONENT_TESTS_STROLVEXPROBE_H

#include <vector>

#include "component/Strolvex.h"

class StrolvexProbe : public Strolvex {
 public:
  explicit StrolvexProbe(RTC::Manager* manager) : Strolvex(manager) {}

  // The cycle's steps, then the state they work on.
  using Strolvex::initTrackingState; using Strolvex::readScan; using Strolvex::filterIsolatedSteps;
  using Strolvex::extractSegments; using Strolvex::publishResults; using Strolvex::processScan;
  using Strolvex::m_scanWork; using Strolvex::m_segSteps; using Strolvex::m_segWidth; using Strolvex::m_openFirst;
  using Strolvex::m_openLast; using Strolvex::m_pointX; using Strolvex::m_pointY; using Strolvex::m_pointAngle;
  using Strolvex::m_countIn; using Strolvex::m_countOut; using Strolvex::m_countPresent; using Strolvex::m_tracks;
  using Strolvex::m_range_data; using Strolvex::m_Human_NUM; using Strolvex::m_LRFdata_min;
  using Strolvex::m_LRFdata_max; using Strolvex::m_LRFdata_theta;

  // Puts a scan where a port read would.
  void loadScan(const std::vector<double>& ranges) {
    m_range_data.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
    for (CORBA::ULong s = 0; s < ranges.size(); ++s) m_range_data.ranges[s] = ranges[s];
  }

  // The n-th allocation counted from allocationsSeen = 0 fails; 0 = none.
  int failingAllocation = 0;
  int allocationsSeen = 0;

 protected:
  void* allocateZeroed(std::size_t bytes) override {
    return ++allocationsSeen == failingAllocation ? nullptr : Strolvex::allocateZeroed(bytes);
  }
};

#endif
