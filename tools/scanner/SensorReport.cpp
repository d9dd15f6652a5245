#include "tools/scanner/SensorReport.h"

#include <algorithm>
#include <cstdio>

namespace {

// Strolvex looks this many steps below its first processed step.
const int kStrolvexLowestFirstStep = 9;

}  // namespace

std::string describeSensor(const SensorInfo& info, int firstStep, int lastStep) {
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.4g", info.rpm / 60.0);
  return info.model + " (" + info.protocol + ", firmware " + info.firmware + ", serial " + info.serial +
         "): " + std::to_string(info.totalSteps) + " steps per turn, steps " + std::to_string(info.firstStep) + ".." +
         std::to_string(info.lastStep) + ", straight ahead at " + std::to_string(info.frontStep) + ", ranges " +
         std::to_string(info.minRange) + ".." + std::to_string(info.maxRange) + " mm, " + rate +
         " scans/s; measuring steps " + std::to_string(firstStep) + ".." + std::to_string(lastStep);
}

std::vector<std::string> strolvexParameterLines(const SensorInfo& info, int firstStep, int lastStep) {
  const std::string prefix = "Category.Strolvex.conf.default.";
  return {prefix + "LRF_Total_steps: " + std::to_string(info.totalSteps),
          prefix + "LRFdata_theta: 360",
          prefix + "LRFdata_mid: " + std::to_string(info.frontStep),
          prefix + "LRFdata_min: " + std::to_string(std::max(firstStep, kStrolvexLowestFirstStep)),
          prefix + "LRFdata_max: " + std::to_string(lastStep)};
}
