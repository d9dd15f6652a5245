// Test module: registers the Strolvex type first, with a factory that makes
// nothing, so that the launcher's own registration is refused and its
// request for the component must fail.
#include <rtm/Manager.h>

#include "component/StrolvexProfile.h"

namespace {

RTC::RTObject_impl* makeNothing(RTC::Manager*) { return nullptr; }
void deleteNothing(RTC::RTObject_impl*) {}

}  // namespace

extern "C" __attribute__((visibility("default"))) void NullStrolvexFactoryInit(RTC::Manager* manager) {
  coil::Properties profile(kStrolvexProfile);
  manager->registerFactory(profile, makeNothing, deleteNothing);
}
