#include "ExtTrigExecutionContext.h"

namespace OpenRTM {

ExtTrigExecutionContextService::~ExtTrigExecutionContextService() = default;

ExtTrigExecutionContextService_ptr ExtTrigExecutionContextService::_narrow(
    RTC::ExecutionContext_ptr context) {
  return context != nullptr ? context->extTrigService() : nullptr;
}

}  // namespace OpenRTM

namespace RTC {

ExtTrigExecutionContext::ExtTrigExecutionContext(RTObject_impl& owner) : ExecutionContext(owner) {}

void ExtTrigExecutionContext::tick() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  runCycle();
}

OpenRTM::ExtTrigExecutionContextService* ExtTrigExecutionContext::extTrigService() { return this; }

void ExtTrigExecutionContext::runOnContextThread(const std::function<void()>& task) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  task();
}

}  // namespace RTC
