// The two externally triggered contexts.
//
// ExtTrigExecutionContext: a thread of its own runs a cycle after each
// tick(), then sleeps out the rest of the period; a tick that arrives
// while a cycle runs is lost. A transition request ticks it once.
//
// SynchExtTriggerEC: tick() runs the cycle in the caller's thread and then
// sleeps out the rest of the period; nothing else runs cycles, so a
// transition waits for the next tick.
#ifndef MIDDLEWARE_SRC_EXTTRIGEXECUTIONCONTEXT_H
#define MIDDLEWARE_SRC_EXTTRIGEXECUTIONCONTEXT_H

#include "ExecutionContextBase.h"

#include <rtm/ExtTrigExecutionContext.h>

#include <condition_variable>

namespace RTC {

class ExtTrigExecutionContext : public ExecutionContextBase,
                                public virtual OpenRTM::ExtTrigExecutionContextService {
 public:
  ExtTrigExecutionContext(RTObject_impl& owner, const coil::Properties& props);
  ~ExtTrigExecutionContext() override;

  void tick() override;
  // A reference to it narrows to either interface.
  void* _ptrToObjRef(const char* repoId) override;

 protected:
  bool onCycleThread() const override;
  void startWorker() override;
  void stopWorker() override;
  void onTransitionRequested() override { tick(); }

 private:
  void work();

  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_ticked = false;
  bool m_stopping = false;
  std::thread m_thread;
  std::thread::id m_workerId;
};

class SynchExtTriggerEC : public ExecutionContextBase,
                          public virtual OpenRTM::ExtTrigExecutionContextService {
 public:
  SynchExtTriggerEC(RTObject_impl& owner, const coil::Properties& props);

  void tick() override;
  void* _ptrToObjRef(const char* repoId) override;

 protected:
  bool onCycleThread() const override;
  void startWorker() override {}
  void stopWorker() override {}
  void waitForWorker() override {}

 private:
  std::mutex m_tickMutex;  // one tick at a time
  mutable std::mutex m_mutex;
  std::thread::id m_tickingThread;
};

}  // namespace RTC

#endif
