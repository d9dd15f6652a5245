// The monitor: one per process, shared by every component instance. It shows
// the scan, the background outline, the foreground rays, the particles and
// the numbered tracks of the last processed scan.
#ifndef STROLVEX_MONITOR_MONITOR_H
#define STROLVEX_MONITOR_MONITOR_H

#include "scan/ScanWork.h"
#include "tracker/TrackRecord.h"

// Called first on activation, on the execution context's thread.
void openMonitorWindow();
// Called after the tracker step of every processed scan, in this order.
void snapshotScan(const ScanWork* scanWork, int trackCount);
void snapshotTracks(const TrackRecord* tracks);
void pumpMonitorMessages();

#endif
