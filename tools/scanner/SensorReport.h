// What the scanner component says about a sensor once connected: its model
// and geometry, and the Strolvex parameters that fit it, written so that a
// user can copy them into a configuration file.
#ifndef STROLVEX_TOOLS_SCANNER_SENSORREPORT_H
#define STROLVEX_TOOLS_SCANNER_SENSORREPORT_H

#include <string>
#include <vector>

#include "tools/scip/SensorInfo.h"

std::string describeSensor(const SensorInfo& info, int firstStep, int lastStep);
// "Category.Strolvex.conf.default.<name>: <value>" lines for the steps
// measured: steps per turn over 360 degrees, the forward step, and the
// measured range, starting no lower than the 9 steps Strolvex's filters
// need below it.
std::vector<std::string> strolvexParameterLines(const SensorInfo& info, int firstStep, int lastStep);

#endif
