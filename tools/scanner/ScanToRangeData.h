// One decoded scan as the RTC::RangeData the component publishes.
//
// ranges[s] is the range at sensor step s in millimetres, for s = 0 up to
// the sensor's last step; steps not measured and readings the sensor marks
// as errors are 0, which Strolvex reads as no echo. The configuration
// describes that array: minAngle and maxAngle are the angles of its first
// and last element (radians, positive to the left of straight ahead),
// angularRes the angle of one step, minRange and maxRange the sensor's
// limits and rangeRes its 1 mm, in metres as the data type documents them,
// and frequency the sensor's scans per second. The geometry (the sensor's
// pose and size) is not something a sensor reports: it stays zero.
#ifndef STROLVEX_TOOLS_SCANNER_SCANTORANGEDATA_H
#define STROLVEX_TOOLS_SCANNER_SCANTORANGEDATA_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>

#include <vector>

#include "tools/scip/ScipScan.h"
#include "tools/scip/SensorInfo.h"

// The fields that stay the same scan after scan.
void describeRanger(const SensorInfo& info, RTC::RangeData& data);
// The scan's ranges (through work, to keep its storage) and its time
// stamp, hostMs milliseconds since the epoch.
void fillScan(const ScipScan& scan, const ScipScanRequest& request, const SensorInfo& info, double hostMs,
              std::vector<double>& work, RTC::RangeData& data);

#endif
