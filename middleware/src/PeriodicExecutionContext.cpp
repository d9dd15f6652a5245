#include "PeriodicExecutionContext.h"

namespace RTC {

PeriodicExecutionContext::PeriodicExecutionContext(RTObject_impl& owner, const coil::Properties& props)
    : ExecutionContextBase(owner, props) {}

PeriodicExecutionContext::~PeriodicExecutionContext() { stopWorker(); }

bool PeriodicExecutionContext::onCycleThread() const {
  std::lock_guard<std::mutex> lock(const_cast<std::mutex&>(m_mutex));
  return std::this_thread::get_id() == m_workerId;
}

void PeriodicExecutionContext::startWorker() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_stopping = false;
  m_thread = std::thread(&PeriodicExecutionContext::work, this);
  m_workerId = m_thread.get_id();
}

void PeriodicExecutionContext::stopWorker() {
  std::thread worker;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_thread.joinable()) return;
    m_stopping = true;
    worker.swap(m_thread);
  }
  m_wake.notify_all();
  worker.join();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_workerId = std::thread::id();
}

void PeriodicExecutionContext::onTransitionRequested() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_transitionPending = true;
  }
  m_wake.notify_all();
}

void PeriodicExecutionContext::work() {
  auto next = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stopping) {
    if (m_transitionPending) {
      m_transitionPending = false;
      lock.unlock();
      runTransition();
      lock.lock();
      continue;
    }
    if (std::chrono::steady_clock::now() >= next) {
      lock.unlock();
      runCycle();
      lock.lock();
      next += period();
      // A late cycle is not made up with a burst of catch-up cycles.
      const auto now = std::chrono::steady_clock::now();
      if (next < now) next = now;
      continue;
    }
    m_wake.wait_until(lock, next, [this] { return m_stopping || m_transitionPending; });
  }
}

}  // namespace RTC
