#include "tools/scipemulator/ScipModel.h"

#include <string>

namespace {

ScipModel make(const char* name, const char* modelText, const char* product, int minRange, int maxRange,
               int totalSteps, int firstStep, int lastStep, int frontStep, int rpm, unsigned noEchoCode) {
  ScipModel model;
  model.name = name;
  model.modelText = modelText;
  model.product = product;
  model.minRange = minRange;
  model.maxRange = maxRange;
  model.totalSteps = totalSteps;
  model.firstStep = firstStep;
  model.lastStep = lastStep;
  model.frontStep = frontStep;
  model.rpm = rpm;
  model.noEchoCode = noEchoCode;
  return model;
}

const ScipModel& urg04lx() {
  static const ScipModel model = make("URG-04LX", "URG-04LX(Hokuyo Automatic Co.,Ltd.)", "SOKUIKI Sensor URG-04LX",
                                      20, 5600, 1024, 44, 725, 384, 600, 0);
  return model;
}

const ScipModel& utm30lx() {
  static const ScipModel model = make("UTM-30LX", "UTM-30LX(Hokuyo Automatic Co.,Ltd.)",
                                      "SOKUIKI Sensor TOP-URG UTM-30LX", 23, 60000, 1440, 0, 1080, 540, 2400, 1);
  return model;
}

}  // namespace

bool findScipModel(const std::string& name, ScipModel& model) {
  for (const ScipModel* known : {&urg04lx(), &utm30lx()}) {
    if (known->name == name) {
      model = *known;
      return true;
    }
  }
  return false;
}

std::string scipModelNames() { return urg04lx().name + ", " + utm30lx().name; }
