// The execution context of a component: it owns the component's life-cycle
// state and calls its callbacks. Reached through get_context(0).
#ifndef RTM_EXECUTIONCONTEXT_H
#define RTM_EXECUTIONCONTEXT_H

#include <rtm/RTC.h>
#include <rtm/SystemLogger.h>

#include <atomic>
#include <functional>

namespace OpenRTM {
class ExtTrigExecutionContextService;
}

namespace RTC {

class RTObject_impl;

class ExecutionContext {
 public:
  ExecutionContext(const ExecutionContext&) = delete;
  ExecutionContext& operator=(const ExecutionContext&) = delete;
  virtual ~ExecutionContext();

  // Return RTC_OK when the component reached the requested state,
  // BAD_PARAMETER for a component this context does not run and
  // PRECONDITION_NOT_MET when its state does not allow the transition.
  ReturnCode_t activate_component(RTObject_impl* comp);
  ReturnCode_t deactivate_component(RTObject_impl* comp);
  ReturnCode_t reset_component(RTObject_impl* comp);
  LifeCycleState get_component_state(RTObject_impl* comp);

  // start() calls onStartup; stop() deactivates an active component and
  // calls onShutdown. Both run in the caller's thread. Once stop() has
  // begun, activation is refused, so that no request from another thread
  // leaves the component active behind the stopped context.
  ReturnCode_t start();
  ReturnCode_t stop();

  // Null unless this context is driven by tick().
  virtual OpenRTM::ExtTrigExecutionContextService* extTrigService();

 protected:
  explicit ExecutionContext(RTObject_impl& owner);

  // Runs task on the thread that runs the cycles, waiting for it to end.
  virtual void runOnContextThread(const std::function<void()>& task) = 0;
  virtual void startWorker() = 0;
  virtual void stopWorker() = 0;

  // One period: onExecute and onStateUpdate when active, onError in error.
  void runCycle();

 private:
  bool invoke(const char* callback, const std::function<ReturnCode_t()>& call);
  void enterError(const char* cause);

  RTObject_impl& m_owner;
  Logger rtclog;
  std::atomic<int> m_state;
  std::atomic<bool> m_running;
  std::atomic<bool> m_stopRequested;
};

typedef ExecutionContext* ExecutionContext_ptr;
typedef ExecutionContext_ptr ExecutionContext_var;

}  // namespace RTC

namespace CORBA {
inline Boolean is_nil(RTC::ExecutionContext_ptr context) { return context == nullptr; }
}  // namespace CORBA

#endif
