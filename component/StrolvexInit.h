// The module-init function through which a manager learns the Strolvex type.
#ifndef STROLVEX_COMPONENT_STROLVEXINIT_H
#define STROLVEX_COMPONENT_STROLVEXINIT_H

#include <rtm/Manager.h>

extern "C" __attribute__((visibility("default"))) void StrolvexInit(RTC::Manager* manager);

#endif
