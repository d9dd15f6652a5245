// The sensors the emulator can pass for: what they report in VV and PP and
// the value they send for a step without an echo.
#ifndef STROLVEX_TOOLS_SCIPEMULATOR_SCIPMODEL_H
#define STROLVEX_TOOLS_SCIPEMULATOR_SCIPMODEL_H

#include <string>

struct ScipModel {
  std::string name;     // as given to --model
  std::string modelText; // PP MODL
  std::string product;  // VV PROD
  int minRange = 0;     // mm
  int maxRange = 0;     // mm
  int totalSteps = 0;
  int firstStep = 0;
  int lastStep = 0;
  int frontStep = 0;
  int rpm = 0;
  // The error code a step without a usable echo reads: URG-04LX class
  // sensors say 0 ("possibly beyond range"), UTM-30LX 1 ("no object").
  unsigned noEchoCode = 0;

  double scanPeriodMs() const { return 60000.0 / rpm; }
};

// False for a name the emulator does not know.
bool findScipModel(const std::string& name, ScipModel& model);
// The known names, for a usage text: "URG-04LX, UTM-30LX".
std::string scipModelNames();

#endif
