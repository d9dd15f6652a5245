// A synthetic recording for replay tests: a static room and people walking
// across the sensor's forward axis, as a default-geometry sensor would scan
// them (1024 steps per turn, step 384 straight ahead, whole millimetres).
#ifndef STROLVEX_TOOLS_TESTS_REPLAYSCENE_H
#define STROLVEX_TOOLS_TESTS_REPLAYSCENE_H

#include <string>
#include <vector>

#include "tools/scanlog/ScanLog.h"

// A person: a circle walking along a line of constant forward distance y,
// from x = fromX to x = toX, one step per scan.
struct Walk {
  int firstScan;
  int scans;
  double y;
  double fromX;
  double toX;

  bool visibleAt(int scan) const { return scan >= firstScan && scan < firstScan + scans; }
  double xAt(int scan) const {
    return fromX + (toX - fromX) * (scan - firstScan) / (scans - 1);
  }
};

const double kPersonRadius = 220.0;
const int kSceneStartMs = 1000;
const int kScenePeriodMs = 100;

// Scan number `scan` of a scene with the given walks.
ScanRecord sceneScan(int scan, const std::vector<Walk>& walks);

// Writes scans 0..scanCount-1 of the scene to path as a scan log.
void writeSceneLog(const std::string& path, int scanCount, const std::vector<Walk>& walks);

#endif
