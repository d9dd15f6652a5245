#include "component/StrolvexInit.h"

#include <coil/Properties.h>
#include <rtm/Factory.h>

#include "component/Strolvex.h"
#include "component/StrolvexProfile.h"

void StrolvexInit(RTC::Manager* manager) {
  coil::Properties profile(kStrolvexProfile);
  // A refused registration surfaces when creating the component fails.
  manager->registerFactory(profile, RTC::Create<Strolvex>, RTC::Delete<Strolvex>);
}
