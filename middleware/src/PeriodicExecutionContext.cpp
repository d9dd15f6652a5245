#include "PeriodicExecutionContext.h"

namespace RTC {

PeriodicExecutionContext::PeriodicExecutionContext(RTObject_impl& owner, double rate_hz)
    : ExecutionContext(owner),
      m_period(std::chrono::duration_cast<std::chrono::nanoseconds>(
          std::chrono::duration<double>(1.0 / rate_hz))),
      m_stopping(false) {}

PeriodicExecutionContext::~PeriodicExecutionContext() { stopWorker(); }

void PeriodicExecutionContext::runOnContextThread(const std::function<void()>& task) {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (std::this_thread::get_id() == m_workerId) {
    lock.unlock();
    task();
    return;
  }
  // A worker that has stopped, or is about to, would never run the request.
  if (m_stopping) {
    return;
  }
  if (m_workerId == std::thread::id()) {
    lock.unlock();
    task();
    return;
  }
  Request request{&task, false};
  m_requests.push_back(&request);
  m_wake.notify_all();
  m_wake.wait(lock, [&request] { return request.done; });
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
    if (!m_thread.joinable()) {
      return;
    }
    m_stopping = true;
    worker.swap(m_thread);
  }
  m_wake.notify_all();
  worker.join();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_workerId = std::thread::id();
}

void PeriodicExecutionContext::runRequests(std::unique_lock<std::mutex>& lock) {
  while (!m_requests.empty()) {
    Request* request = m_requests.front();
    m_requests.pop_front();
    lock.unlock();
    (*request->task)();
    lock.lock();
    request->done = true;
    m_wake.notify_all();
  }
}

void PeriodicExecutionContext::work() {
  auto next = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    runRequests(lock);
    if (m_stopping) {
      return;
    }
    if (std::chrono::steady_clock::now() >= next) {
      lock.unlock();
      runCycle();
      lock.lock();
      next += m_period;
      // A late cycle is not made up with a burst of catch-up cycles.
      const auto now = std::chrono::steady_clock::now();
      if (next < now) {
        next = now;
      }
      continue;
    }
    m_wake.wait_until(lock, next, [this] { return m_stopping || !m_requests.empty(); });
  }
}

}  // namespace RTC
