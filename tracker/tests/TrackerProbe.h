// A Strolvex with the default configuration and a fresh tracking state
// whose tracker operations, state and clock the tests reach directly.
#ifndef STROLVEX_TRACKER_TESTS_TRACKERPROBE_H
#define STROLVEX_TRACKER_TESTS_TRACKERPROBE_H

#include <gtest/gtest.h>

#include "component/Strolvex.h"
#include "tracker/TrackerConstants.h"

class TrackerProbe : public Strolvex {
 public:
  TrackerProbe();
  ~TrackerProbe() override { releaseTrackingState(); }

  using Strolvex::associateCandidates;
  using Strolvex::drawRandom;
  using Strolvex::estimatePosition;
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
  using Strolvex::m_StrolvexData;
  using Strolvex::m_trackScratch;

  TrackRecord& track(int slot) { return m_tracks[slot]; }
  // Makes slot a busy track estimated (and last measured) at (y, x).
  void occupy(int slot, double y, double x);
  // The newest measurement of candidate slot, as measureCandidates leaves it.
  void setCandidate(int slot, double y, double x) {
    m_tracks[slot].meas_y[1] = y;
    m_tracks[slot].meas_x[1] = x;
  }
  // Gives candidate slot a segment from first to last at a constant range.
  void setSegment(int slot, int32_t first, int32_t last, double range);

  ManualClock clock;
};

#endif
