// What a sensor says about itself in its VV (version) and PP (parameters)
// replies.
#ifndef STROLVEX_TOOLS_SCIP_SENSORINFO_H
#define STROLVEX_TOOLS_SCIP_SENSORINFO_H

#include <string>

#include "tools/scip/ScipReply.h"

struct SensorInfo {
  // VV
  std::string vendor;    // VEND
  std::string product;   // PROD
  std::string firmware;  // FIRM
  std::string protocol;  // PROT, e.g. "SCIP 2.0"
  std::string serial;    // SERI
  // PP
  std::string model;  // MODL
  int minRange = 0;   // DMIN, mm
  int maxRange = 0;   // DMAX, mm
  int totalSteps = 0; // ARES, steps per full turn
  int firstStep = 0;  // AMIN, first measurable step
  int lastStep = 0;   // AMAX, last measurable step
  int frontStep = 0;  // AFRT, step straight ahead
  int rpm = 0;        // SCAN, motor speed

  // Whether PP gave a usable geometry: 0 < minRange < maxRange,
  // 0 < totalSteps, 0 <= firstStep <= frontStep <= lastStep, 0 < rpm.
  bool geometryValid() const;
  // One scan's duration in ms (60000 / rpm); 0 without a speed.
  double scanPeriodMs() const;
  // Radians per step (2 pi / totalSteps) and the angle of a step, positive
  // to the left of straight ahead.
  double stepAngle() const;
  double angleOfStep(int step) const;
};

// Reads the lines of a VV or PP reply into info, leaving fields the reply
// does not carry as they were; unknown keys are ignored. False, with the
// reason in error, if the reply has a problem, its status is not "00", or
// a number in a PP line does not read as one.
bool parseSensorInfo(const ScipReply& reply, SensorInfo& info, std::string& error);

#endif
