// White-box access to a Strolvex component for tests, and a way to make its
// tracking-state allocations fail.
#ifndef STROLVEX_COMPONENT_TESTS_STROLVEXPROBE_H
#define STROLVEX_COMPONENT_TESTS_STROLVEXPROBE_H

#include <cstddef>
#include <vector>

#include "component/Strolvex.h"

class StrolvexProbe : public Strolvex {
 public:
  explicit StrolvexProbe(RTC::Manager* manager) : Strolvex(manager) {}

  using Strolvex::initTrackingState;
  using Strolvex::readScan;
  using Strolvex::filterIsolatedSteps;
  using Strolvex::extractSegments;
  using Strolvex::stepToPoint;
  using Strolvex::publishResults;
  using Strolvex::processScan;

  using Strolvex::m_scanWork;
  using Strolvex::m_segSteps;
  using Strolvex::m_segWidth;
  using Strolvex::m_openFirst;
  using Strolvex::m_openLast;
  using Strolvex::m_pointX;
  using Strolvex::m_pointY;
  using Strolvex::m_pointAngle;
  using Strolvex::m_countIn;
  using Strolvex::m_countOut;
  using Strolvex::m_countPresent;
  using Strolvex::m_tracks;
  using Strolvex::m_trackScratch;
  using Strolvex::m_range_data;

  using Strolvex::m_Human_NUM;
  using Strolvex::m_Environmental_maxdata;
  using Strolvex::m_LRFdata_min;
  using Strolvex::m_LRFdata_max;
  using Strolvex::m_LRFdata_mid;
  using Strolvex::m_LRFdata_theta;
  using Strolvex::m_LRF_Total_steps;
  using Strolvex::m_Human_width;
  using Strolvex::m_Count_mode;
  using Strolvex::m_Human_setdistance;
  using Strolvex::m_StrolvexData;
  using Strolvex::m_Count_area_distance;

  // Puts a scan into the input port's data variable as a read would.
  void loadScan(const std::vector<double>& ranges) {
    m_range_data.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
    for (std::size_t s = 0; s < ranges.size(); ++s) {
      m_range_data.ranges[static_cast<CORBA::ULong>(s)] = ranges[s];
    }
  }

  // The n-th allocation from now on (1 = the next) fails; 0 = none fails.
  int failingAllocation = 0;
  int allocationsSeen = 0;

 protected:
  void* allocateZeroed(std::size_t bytes) override {
    ++allocationsSeen;
    if (allocationsSeen == failingAllocation) return nullptr;
    return Strolvex::allocateZeroed(bytes);
  }
};

#endif
