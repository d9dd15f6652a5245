#include "tools/scanner/ScannerSettings.h"

#include "tools/scanner/LinkAddress.h"

bool ScannerSettings::valid(std::string& problem) const {
  LinkAddress address;
  if (!parseLinkAddress(device, address, problem)) {
    problem = "device: " + problem;
    return false;
  }
  if (baud <= 0) {
    problem = "baud is " + std::to_string(baud) + ", it must be a positive bit rate";
    return false;
  }
  if (timeoutMs <= 0) {
    problem = "timeout_ms is " + std::to_string(timeoutMs) + ", it must be positive";
    return false;
  }
  return true;
}

bool ScannerSettings::stepRange(const SensorInfo& info, int& first, int& last, std::string& problem) const {
  first = firstStep < 0 ? info.firstStep : firstStep;
  last = lastStep < 0 ? info.lastStep : lastStep;
  if (first >= info.firstStep && last <= info.lastStep && first <= last) return true;
  problem = "steps " + std::to_string(first) + ".." + std::to_string(last) + " (first_step, last_step) are not within " +
            info.model + "'s own " + std::to_string(info.firstStep) + ".." + std::to_string(info.lastStep) +
            "; set them inside that range, or to -1 for the sensor's own";
  return false;
}
