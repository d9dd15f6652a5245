// The monitor's own copy of what it draws, so that composing a frame never
// reads component state (which may not exist yet, or may already be freed).
#ifndef STROLVEX_MONITOR_MONITORSNAPSHOT_H
#define STROLVEX_MONITOR_MONITORSNAPSHOT_H

#include <cstdint>

#include "scan/ScanWork.h"
#include "tracker/TrackRecord.h"

struct MonitorSnapshot {
  ScanWork scan;  // filled for the drawn steps and the five parameter copies
  int32_t track_count;
  TrackRecord tracks[kSlotTableSize];  // slots 1..track_count: estimate, particles
};

// The steps a frame shows: lrfdata_min up to but not including lrfdata_max,
// kept inside the step arrays whatever the parameter copies hold.
struct DrawnSteps {
  int first;
  int end;
};
DrawnSteps drawnSteps(const ScanWork& scan);

void takeScanSnapshot(MonitorSnapshot& snapshot, const ScanWork& scanWork,
                      int trackCount);
void takeTrackSnapshot(MonitorSnapshot& snapshot, const TrackRecord* tracks);

#endif
