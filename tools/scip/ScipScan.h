// Scan requests (MD/MS continuous, GD/GS single) and the decoding of the
// scans a sensor sends for them.
#ifndef STROLVEX_TOOLS_SCIP_SCIPSCAN_H
#define STROLVEX_TOOLS_SCIP_SCIPSCAN_H

#include <cstdint>
#include <string>
#include <vector>

#include "tools/scip/ScipReply.h"
#include "tools/scip/SensorInfo.h"

struct ScipScanRequest {
  bool continuous = true;  // MD/MS; false: GD/GS, the latest scan once
  int encodingChars = 3;   // 3: MD/GD (to 262 m); 2: MS/GS (to 4095 mm)
  int firstStep = 44;
  int lastStep = 725;
  int cluster = 1;    // adjacent steps merged into one value, 0..99 (0 = 1)
  int skip = 0;       // continuous: scans left out between sent ones, 0..9
  int scans = 0;      // continuous: scans to send, 1..99; 0 = until QT
  std::string tag;    // echoed back; at most 16 of [A-Za-z0-9 ._+@]

  // Steps merged into one value (0 and 1 both mean none).
  int stepsPerValue() const { return cluster > 1 ? cluster : 1; }
  int valueCount() const;
  // "MD", "MS", "GD" or "GS".
  std::string code() const;
  // The echo's prefix that identifies this request: code, steps and cluster.
  std::string echoPrefix() const;
};

// The request line with its line feed, e.g. "MD0044072501000\n"; empty if a
// field is out of its range (step numbers 0..9999 with first <= last, and
// the ranges above).
std::string scipScanCommand(const ScipScanRequest& request);

// One decoded scan.
struct ScipScan {
  uint32_t stamp = 0;  // the sensor's 24-bit millisecond timer at step 0
  // Raw values, one per cluster of steps from request.firstStep on, in mm;
  // those below the sensor's minimum range are error codes, not distances.
  std::vector<uint32_t> values;
  // For continuous requests: scans still to come after this one (the echo's
  // last two digits; 0 when streaming without end).
  int remaining = 0;
};

// Decodes a "99" (MD/MS) or "00" (GD/GS) reply to request into scan, reusing
// its storage. False, with the reason in error, if the reply has a
// problem, answers another request, carries another status, or its data do
// not make exactly request.valueCount() values.
bool decodeScan(const ScipReply& reply, const ScipScanRequest& request, ScipScan& scan,
                std::string& error);

// Whether a raw value is a distance: within the sensor's DMIN..DMAX. Smaller
// values are the sensor's error codes (no echo, too weak, too near...).
bool scipReadingValid(uint32_t value, const SensorInfo& info);

// Ranges indexed by sensor step, as Strolvex reads a scan: element s is the
// distance at step s in mm for s = 0..info.lastStep (or the last step the
// request covers if larger); steps the request does not cover and invalid
// readings are noEcho. A clustered value stands for each of its steps.
void scipScanToRanges(const ScipScan& scan, const ScipScanRequest& request,
                      const SensorInfo& info, double noEcho, std::vector<double>& ranges);

#endif
