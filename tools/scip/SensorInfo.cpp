#include "tools/scip/SensorInfo.h"

#include <string>

namespace {

const double kPi = 3.14159265358979323846;

bool readInt(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  int result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  value = result;
  return true;
}

}  // namespace

bool SensorInfo::geometryValid() const {
  return minRange > 0 && minRange < maxRange && totalSteps > 0 && firstStep >= 0 && firstStep <= frontStep &&
         frontStep <= lastStep && rpm > 0;
}

double SensorInfo::scanPeriodMs() const { return rpm > 0 ? 60000.0 / rpm : 0.0; }

double SensorInfo::stepAngle() const { return totalSteps > 0 ? 2.0 * kPi / totalSteps : 0.0; }

double SensorInfo::angleOfStep(int step) const { return (step - frontStep) * stepAngle(); }

bool parseSensorInfo(const ScipReply& reply, SensorInfo& info, std::string& error) {
  if (!reply.ok()) {
    error = std::string(scipProblemName(reply.problem)) + ": " + reply.detail;
    return false;
  }
  if (reply.status != "00") {
    error = "status " + reply.status;
    return false;
  }
  struct Text {
    const char* key;
    std::string SensorInfo::*field;
  };
  static const Text texts[] = {{"VEND", &SensorInfo::vendor},   {"PROD", &SensorInfo::product},
                               {"FIRM", &SensorInfo::firmware}, {"PROT", &SensorInfo::protocol},
                               {"SERI", &SensorInfo::serial},   {"MODL", &SensorInfo::model}};
  struct Number {
    const char* key;
    int SensorInfo::*field;
  };
  static const Number numbers[] = {{"DMIN", &SensorInfo::minRange},   {"DMAX", &SensorInfo::maxRange},
                                   {"ARES", &SensorInfo::totalSteps}, {"AMIN", &SensorInfo::firstStep},
                                   {"AMAX", &SensorInfo::lastStep},   {"AFRT", &SensorInfo::frontStep},
                                   {"SCAN", &SensorInfo::rpm}};
  for (const std::string& line : reply.payload) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, colon);
    // The value ends at the ';' before the sum; a value may hold ';' itself.
    const std::size_t semicolon = line.rfind(';');
    const std::size_t end = semicolon == std::string::npos || semicolon < colon ? line.size() : semicolon;
    const std::string value = line.substr(colon + 1, end - colon - 1);
    for (const Text& text : texts) {
      if (key == text.key) info.*text.field = value;
    }
    for (const Number& number : numbers) {
      if (key != number.key) continue;
      if (!readInt(value, info.*number.field)) {
        error = key + " is not a number: \"" + value + "\"";
        return false;
      }
    }
  }
  return true;
}
