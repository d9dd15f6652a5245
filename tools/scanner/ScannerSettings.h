// What the scanner component is told to do: where the sensor is, how fast
// its serial line runs, which steps to measure and how long silence may last.
#ifndef STROLVEX_TOOLS_SCANNER_SCANNERSETTINGS_H
#define STROLVEX_TOOLS_SCANNER_SCANNERSETTINGS_H

#include <string>

#include "tools/scip/SensorInfo.h"

struct ScannerSettings {
  std::string device = "/dev/ttyACM0";
  int baud = 115200;
  int firstStep = -1;  // below 0: the sensor's first step (AMIN)
  int lastStep = -1;   // below 0: the sensor's last step (AMAX)
  int timeoutMs = 1000;

  // False, with the reason in problem, for values no sensor could take.
  bool valid(std::string& problem) const;
  // The steps to measure on this sensor: the configured ones, or the
  // sensor's own where none are configured. False, naming the sensor's own
  // range, when the sensor does not have them.
  bool stepRange(const SensorInfo& info, int& first, int& last, std::string& problem) const;
};

#endif
