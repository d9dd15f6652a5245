// Runs one Strolvex component in a manager of its own process.
#include <cstdlib>
#include <iostream>

#include <rtm/Manager.h>

#include "component/StrolvexInit.h"

namespace {

void moduleInit(RTC::Manager* manager) {
  StrolvexInit(manager);
  RTC::RTObject_impl* component = manager->createComponent("Strolvex");
  if (component == nullptr) {
    std::cerr << "Component create failed." << std::endl;
    abort();
  }
}

}  // namespace

int main(int argc, char** argv) {
  RTC::Manager* manager = RTC::Manager::init(argc, argv);
  manager->setModuleInitProc(moduleInit);
  manager->activateManager();
  manager->runManager(false);
  return 0;
}
