// Scans, tracks and pixel counts shared by the monitor's tests.
#ifndef STROLVEX_MONITOR_TESTS_FRAMETESTSUPPORT_H
#define STROLVEX_MONITOR_TESTS_FRAMETESTSUPPORT_H

#include <cstdint>
#include <memory>

#include "monitor/MonitorFrame.h"
#include "monitor/MonitorSnapshot.h"

const uint32_t kBlackPixel = 0x000000;
const uint32_t kWhitePixel = 0xffffff;
const uint32_t kOutlinePixel = 0x4a73ff;  // (74, 115, 255)
const uint32_t kGreenPixel = 0x00ff00;
const uint32_t kRedPixel = 0xff0000;
const uint32_t kYellowPixel = 0xffff00;

// Zero-filled, as the monitor's own snapshot starts.
std::unique_ptr<MonitorSnapshot> zeroSnapshot();
// The default sensor (steps 44..725, middle 384, 360 degrees, 1024 steps)
// with every step at the given range, no background and no foreground.
std::unique_ptr<ScanWork> defaultScan(double range);
// Free track slots, as the tracker leaves them.
std::unique_ptr<TrackRecord[]> freeTracks();
// The frame of one processed scan; tracks may be null.
MonitorFrame frameOf(const ScanWork& scan, int trackCount, const TrackRecord* tracks);

// Hands the monitor one processed scan (six tracks counted, a foreground ray,
// a track circle) as the cycle does, frees the blocks as deactivation would,
// and returns the frame the monitor should show.
MonitorFrame snapshotOneCycle();

int countPixels(const MonitorFrame& frame, uint32_t colour, int left = 0, int top = 0,
                int width = kFrameSize, int height = kFrameSize);

#endif
