// Result codes, life-cycle states and the execution-context handle.
#ifndef RTM_RTC_H
#define RTM_RTC_H

#include <omniORB4/CORBA.h>

namespace RTC {

enum ReturnCode_t {
  RTC_OK,
  RTC_ERROR,
  BAD_PARAMETER,
  UNSUPPORTED,
  OUT_OF_RESOURCES,
  PRECONDITION_NOT_MET
};

enum LifeCycleState { CREATED_STATE, INACTIVE_STATE, ACTIVE_STATE, ERROR_STATE };

typedef CORBA::ULong ExecutionContextHandle_t;
typedef ExecutionContextHandle_t UniqueId;

}  // namespace RTC

#endif
