// Runs the owner's cycles on a thread of its own at a fixed rate. Every
// callback from activation to deactivation runs on that thread, so state a
// component keeps per thread (a window, for one) stays on it. A requested
// transition wakes the thread and is carried out at once.
#ifndef MIDDLEWARE_SRC_PERIODICEXECUTIONCONTEXT_H
#define MIDDLEWARE_SRC_PERIODICEXECUTIONCONTEXT_H

#include "ExecutionContextBase.h"

#include <condition_variable>

namespace RTC {

class PeriodicExecutionContext : public ExecutionContextBase {
 public:
  PeriodicExecutionContext(RTObject_impl& owner, const coil::Properties& props);
  ~PeriodicExecutionContext() override;

 protected:
  bool onCycleThread() const override;
  void startWorker() override;
  void stopWorker() override;
  void onTransitionRequested() override;

 private:
  void work();

  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopping = false;
  bool m_transitionPending = false;
  std::thread m_thread;
  // The worker's id, kept apart from m_thread: joining writes to the
  // thread object, while other threads read the id under m_mutex.
  std::thread::id m_workerId;
};

}  // namespace RTC

#endif
