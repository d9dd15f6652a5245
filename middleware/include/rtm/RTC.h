// Result codes, life-cycle states and the execution-context handle, with
// the rest of the object model they belong to.
#ifndef RTM_RTC_H
#define RTM_RTC_H

#include <rtm/idl/RTCSkel.h>

namespace RTC {

typedef ExecutionContextHandle_t UniqueId;

}  // namespace RTC

#endif
