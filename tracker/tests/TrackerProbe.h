// A Strolvex with the default configuration and a fresh tracking state
// whose tracker operations, state and clock the tests reach directly. Made
// by newTrackerProbe(), in the test program's manager, and deleted when the
// test ends.
#ifndef STROLVEX_TRACKER_TESTS_TRACKERPROBE_H
#define STROLVEX_TRACKER_TESTS_TRACKERPROBE_H

#include <gtest/gtest.h>

#include "component/Strolvex.h"
#include "component/StrolvexProfile.h"
#include "component/tests/TestRuntime.h"
#include "tracker/TrackerConstants.h"

class TrackerProbe : public Strolvex {
 public:
  explicit TrackerProbe(RTC::Manager* manager) : Strolvex(manager) {}
  ~TrackerProbe() override { releaseTrackingState(); }

  using Strolvex::associateCandidates;
  using Strolvex::initTrackingState;
  using Strolvex::drawForCycle;
  using Strolvex::drawRandom;
  using Strolvex::estimatePositions;
  using Strolvex::findFreeSlot;
  using Strolvex::measureCandidates;
  using Strolvex::predictParticles;
  using Strolvex::releaseStaleTracks;
  using Strolvex::resampleParticles;
  using Strolvex::trackerStep;
  using Strolvex::updateAgeing;
  using Strolvex::updateMotion;
  using Strolvex::weighParticles;
  using Strolvex::m_assocPair;
  using Strolvex::m_candMidStep;
  using Strolvex::m_Count_area_distance;
  using Strolvex::m_Count_mode;
  using Strolvex::m_countIn;
  using Strolvex::m_countOut;
  using Strolvex::m_countPresent;
  using Strolvex::m_Human_NUM;
  using Strolvex::m_scanWork;
  using Strolvex::m_segSteps;

  TrackRecord& track(int slot) { return m_tracks[slot]; }
  // Makes slot a busy track estimated (and last measured) at (y, x).
  void occupy(int slot, double y, double x) {
    m_tracks[slot].track_id = kSlotPrimes[slot - 1];
    m_tracks[slot].est_y[1] = m_tracks[slot].path_y[1] = y;
    m_tracks[slot].est_x[1] = m_tracks[slot].path_x[1] = x;
  }
  // The newest measurement of candidate slot, as measureCandidates leaves it.
  void setCandidate(int slot, double y, double x) {
    m_tracks[slot].meas_y[1] = y;
    m_tracks[slot].meas_x[1] = x;
  }
  // Gives candidate slot a segment from first to last at a constant range.
  void setSegment(int slot, int32_t first, int32_t last, double range) {
    m_segSteps[slot].first_step = first;
    m_segSteps[slot].last_step = last;
    for (int32_t s = first; s <= last; ++s) m_scanWork->range[s] = range;
  }

  ManualClock clock;
};

inline TrackerProbe& newTrackerProbe() {
  static const bool registered = testrt::registerType<TrackerProbe>(kStrolvexProfile);
  (void)registered;
  auto* probe = static_cast<TrackerProbe*>(testrt::create("Strolvex"));
  testrt::destroyAtTestEnd(probe);
  probe->setClock(&probe->clock);
  EXPECT_TRUE(probe->initTrackingState());
  return *probe;
}

#endif
