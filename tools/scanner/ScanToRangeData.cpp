#include "tools/scanner/ScanToRangeData.h"

#include <cmath>

namespace {

// What Strolvex takes as no echo.
const double kNoEcho = 0.0;

}  // namespace

void describeRanger(const SensorInfo& info, RTC::RangeData& data) {
  data.geometry.geometry.pose.position.x = 0.0;
  data.geometry.geometry.pose.position.y = 0.0;
  data.geometry.geometry.pose.position.z = 0.0;
  data.geometry.geometry.pose.orientation.r = 0.0;
  data.geometry.geometry.pose.orientation.p = 0.0;
  data.geometry.geometry.pose.orientation.y = 0.0;
  data.geometry.geometry.size.l = 0.0;
  data.geometry.geometry.size.w = 0.0;
  data.geometry.geometry.size.h = 0.0;
  data.geometry.elementGeometries.length(0);
  data.config.minAngle = info.angleOfStep(0);
  data.config.maxAngle = info.angleOfStep(info.lastStep);
  data.config.angularRes = info.stepAngle();
  data.config.minRange = info.minRange / 1000.0;
  data.config.maxRange = info.maxRange / 1000.0;
  data.config.rangeRes = 0.001;
  data.config.frequency = info.rpm / 60.0;
}

void fillScan(const ScipScan& scan, const ScipScanRequest& request, const SensorInfo& info, double hostMs,
              std::vector<double>& work, RTC::RangeData& data) {
  scipScanToRanges(scan, request, info, kNoEcho, work);
  const CORBA::ULong length = static_cast<CORBA::ULong>(work.size());
  data.ranges.length(length);
  for (CORBA::ULong s = 0; s < length; ++s) data.ranges[s] = work[s];
  const long long nanoseconds = std::llround(hostMs * 1e6);
  data.tm.sec = static_cast<CORBA::ULong>(nanoseconds / 1000000000LL);
  data.tm.nsec = static_cast<CORBA::ULong>(nanoseconds % 1000000000LL);
}
