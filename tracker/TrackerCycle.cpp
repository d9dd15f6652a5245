// One tracker cycle per new scan. The order decides what each step sees:
// association works on last cycle's estimates, a slot's filter on the
// observation bound in this cycle, its motion on the estimate just pushed,
// and a slot released now can take a new track only from the next cycle.
#include "component/Strolvex.h"
#include "tracker/TrackerConstants.h"

void Strolvex::trackerStep() {
  if (slotsInUse(m_Human_NUM) == 0) return;
  measureCandidates(m_tracks);
  associateCandidates(m_tracks);
  for (int i = 1; i <= slotsInUse(m_Human_NUM); ++i) {
    resampleParticles(i);
    predictParticles(i);
    weighParticles(i);
    estimatePosition(i);
    updateMotion(i);
    updateAgeing(i);
  }
  releaseStaleTracks();
}
