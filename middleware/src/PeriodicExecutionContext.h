// Runs the owner's cycles on a thread of its own at a fixed rate. Every
// callback from activation to deactivation runs on that thread, so state a
// component keeps per thread (a window, for one) stays on it.
#ifndef MIDDLEWARE_SRC_PERIODICEXECUTIONCONTEXT_H
#define MIDDLEWARE_SRC_PERIODICEXECUTIONCONTEXT_H

#include <rtm/ExecutionContext.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace RTC {

class PeriodicExecutionContext : public ExecutionContext {
 public:
  PeriodicExecutionContext(RTObject_impl& owner, double rate_hz);
  ~PeriodicExecutionContext() override;

 protected:
  void runOnContextThread(const std::function<void()>& task) override;
  void startWorker() override;
  void stopWorker() override;

 private:
  struct Request {
    const std::function<void()>* task;
    bool done;
  };

  void work();
  void runRequests(std::unique_lock<std::mutex>& lock);

  const std::chrono::nanoseconds m_period;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<Request*> m_requests;
  bool m_stopping;
  std::thread m_thread;
  // The worker's id, kept apart from m_thread: joining writes to the
  // thread object, while other threads read the id under m_mutex.
  std::thread::id m_workerId;
};

}  // namespace RTC

#endif
