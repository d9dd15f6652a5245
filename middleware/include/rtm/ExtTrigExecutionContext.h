// The externally triggered execution context: each tick() runs exactly one
// cycle in the caller's thread.
#ifndef RTM_EXTTRIGEXECUTIONCONTEXT_H
#define RTM_EXTTRIGEXECUTIONCONTEXT_H

#include <rtm/ExecutionContext.h>

namespace OpenRTM {

class ExtTrigExecutionContextService;
typedef ExtTrigExecutionContextService* ExtTrigExecutionContextService_ptr;
typedef ExtTrigExecutionContextService_ptr ExtTrigExecutionContextService_var;

class ExtTrigExecutionContextService {
 public:
  virtual void tick() = 0;

  // Null for a context that is not externally triggered.
  static ExtTrigExecutionContextService_ptr _narrow(RTC::ExecutionContext_ptr context);
  static ExtTrigExecutionContextService_ptr _nil() { return nullptr; }

 protected:
  virtual ~ExtTrigExecutionContextService();
};

}  // namespace OpenRTM

namespace CORBA {
inline Boolean is_nil(OpenRTM::ExtTrigExecutionContextService_ptr service) {
  return service == nullptr;
}
}  // namespace CORBA

#endif
