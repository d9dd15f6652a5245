// Test module: registers Strolvex and creates its only allowed instance, so
// that the launcher's own request for one must fail.
#include <rtm/Manager.h>

#include "component/StrolvexInit.h"

extern "C" __attribute__((visibility("default"))) void PrecreateStrolvexInit(RTC::Manager* manager) {
  StrolvexInit(manager);
  manager->createComponent("Strolvex");
}
