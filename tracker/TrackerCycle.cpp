// One tracker cycle per new scan. The order decides what each step sees:
// association works on last cycle's estimates, a slot's filter on the
// observation bound in this cycle, its motion on the estimate just pushed
// (a slot's filter and motion touch no other slot's record),
// and a slot released now can take a new track only from the next cycle.
#include "component/Strolvex.h"
#include "tracker/TrackerConstants.h"

void Strolvex::trackerStep() {
  if (slotsInUse(m_Human_NUM) == 0) return;
  measureCandidates(m_tracks);
  associateCandidates(m_tracks);
  // Past association the slots' filters no longer see one another: with
  // every draw known up front, each stage runs over all slots at once.
  drawForCycle();
  resampleParticles();
  predictParticles();
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) weighParticles(i);
  estimatePositions();
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    updateMotion(i);
    updateAgeing(i);
  }
  releaseStaleTracks();
}
