// What every execution context of the runtime does for the one component it
// owns: the component's life-cycle state machine, transition requests and
// the cycle that carries them out. How cycles are driven (a periodic
// thread, ticks) is the derived context's business.
//
// A transition requested of a context takes effect at the start of its
// next cycle: the current state's exit action, then the next state's entry
// action. A request waits for that (exec_cxt.sync_transition, default YES)
// up to exec_cxt.transition_timeout seconds (0.5), or returns at once.
#ifndef MIDDLEWARE_SRC_EXECUTIONCONTEXTBASE_H
#define MIDDLEWARE_SRC_EXECUTIONCONTEXTBASE_H

#include "RefCounted.h"

#include <coil/Properties.h>
#include <rtm/idl/RTCSkel.h>
#include <rtm/SystemLogger.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace RTC {

class RTObject_impl;

class ExecutionContextBase : public virtual ExecutionContext, public RefCounted {
 public:
  ExecutionContextBase(const ExecutionContextBase&) = delete;
  ExecutionContextBase& operator=(const ExecutionContextBase&) = delete;
  ~ExecutionContextBase() override;

  CORBA::Boolean is_running() override;
  // start() calls onStartup and starts the cycles; stop() ends them,
  // deactivates an active component and calls onShutdown. Once stop() has
  // begun, activation is refused.
  ReturnCode_t start() override;
  ReturnCode_t stop() override;
  CORBA::Double get_rate() override;

  // BAD_PARAMETER for a component this context does not run,
  // PRECONDITION_NOT_MET when its state does not allow the transition;
  // when waiting, RTC_ERROR if the transition did not happen in time.
  ReturnCode_t activate_component(LightweightRTObject_ptr comp) override;
  ReturnCode_t deactivate_component(LightweightRTObject_ptr comp) override;
  ReturnCode_t reset_component(LightweightRTObject_ptr comp) override;
  LifeCycleState get_component_state(LightweightRTObject_ptr comp) override;

  // The component is gone: the context, stopped, serves nobody any more
  // (a caller may still hold its reference).
  void detach();

 protected:
  // props: the component's properties (exec_cxt.*).
  ExecutionContextBase(RTObject_impl& owner, const coil::Properties& props);
  bool isOwner(LightweightRTObject_ptr comp);

  // One cycle: the pending transition, then the current state's work
  // (onExecute and onStateUpdate when active, onError in error).
  void runCycle();
  // Carries out a pending transition only.
  void runTransition();
  // True on the thread that runs this context's cycles.
  virtual bool onCycleThread() const = 0;
  virtual void startWorker() = 0;
  virtual void stopWorker() = 0;
  // A transition waits to be carried out: a context whose cycles only a
  // tick brings may run one (the real contexts do the same).
  virtual void onTransitionRequested() {}
  // Before stopping: lets the context's own thread carry out a pending
  // transition (up to a second). A context without a thread of its own has
  // nothing to wait for.
  virtual void waitForWorker();
  std::chrono::nanoseconds period() const { return m_period; }
  // What is left of the period after a cycle that began at start.
  std::chrono::nanoseconds restOfPeriod(std::chrono::steady_clock::time_point start) const;

  RTObject_impl* m_owner;
  Logger rtclog;

 private:
  ReturnCode_t request(LightweightRTObject_ptr comp, LifeCycleState from, LifeCycleState to,
                       bool wait, double timeout_s);
  bool invoke(const char* callback, const std::function<ReturnCode_t()>& call);
  void enter(LifeCycleState state);
  void leave(LifeCycleState state);
  void goTo(LifeCycleState state);
  LifeCycleState current();
  LifeCycleState next();

  const double m_rate;
  const std::chrono::nanoseconds m_period;
  bool m_syncActivation, m_syncDeactivation, m_syncReset;
  double m_activationTimeout, m_deactivationTimeout, m_resetTimeout;

  std::mutex m_stateMutex;
  LifeCycleState m_curr;
  LifeCycleState m_next;
  // Serialises cycles; held while callbacks run.
  std::recursive_mutex m_cycleMutex;
  std::atomic<bool> m_running;
  std::atomic<bool> m_stopRequested;
};

}  // namespace RTC

#endif
