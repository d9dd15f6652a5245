// A Strolvex with the default configuration and a fresh tracking state whose
// tracker steps, state and clock the tests reach; deleted when the test ends.
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

  // The tracker's steps, in cycle order, then the state they work on.
  using Strolvex::measureCandidates; using Strolvex::associateCandidates; using Strolvex::findFreeSlot;
  using Strolvex::resampleParticles; using Strolvex::predictParticles; using Strolvex::drawRandom; using Strolvex::drawForCycle;
  using Strolvex::weighParticles; using Strolvex::estimatePositions; using Strolvex::updateMotion;
  using Strolvex::updateAgeing; using Strolvex::releaseStaleTracks; using Strolvex::initTrackingState;
  using Strolvex::m_assocPair; using Strolvex::m_candMidStep; using Strolvex::m_scanWork; using Strolvex::m_segSteps;
  using Strolvex::m_Human_NUM; using Strolvex::m_Count_mode;
  using Strolvex::m_countIn; using Strolvex::m_countOut; using Strolvex::m_countPresent;

  TrackRecord& track(int slot) { return m_tracks[slot]; }
  // Makes slot a busy track estimated (and last measured) at (y, x).
  void occupy(int slot, double y, double x) {
    m_tracks[slot].track_id = kSlotPrimes[slot - 1];
    m_tracks[slot].est_y[1] = m_tracks[slot].path_y[1] = y;
    m_tracks[slot].est_x[1] = m_tracks[slot].path_x[1] = x;
  }
  void setCandidate(int slot, double y, double x) { m_tracks[slot].meas_y[1] = y; m_tracks[slot].meas_x[1] = x; }
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
