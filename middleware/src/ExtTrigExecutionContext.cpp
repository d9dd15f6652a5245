#include "ExtTrigExecutionContext.h"

namespace RTC {

namespace {

// The context object is both an execution context and the service that
// ticks it: a reference narrows to whichever is asked for.
template <class Context>
void* eitherInterface(Context* context, const char* repoId) {
  if (omni::strMatch(repoId, OpenRTM::ExtTrigExecutionContextService::_PD_repoId)) {
    return static_cast<OpenRTM::ExtTrigExecutionContextService_ptr>(context);
  }
  if (omni::strMatch(repoId, ExecutionContext::_PD_repoId)) {
    return static_cast<ExecutionContext_ptr>(context);
  }
  if (omni::strMatch(repoId, CORBA::LocalObject::_PD_repoId)) {
    return static_cast<CORBA::LocalObject_ptr>(context);
  }
  if (omni::strMatch(repoId, CORBA::Object::_PD_repoId)) {
    return static_cast<CORBA::Object_ptr>(context);
  }
  return nullptr;
}

}  // namespace

void* ExtTrigExecutionContext::_ptrToObjRef(const char* repoId) { return eitherInterface(this, repoId); }

void* SynchExtTriggerEC::_ptrToObjRef(const char* repoId) { return eitherInterface(this, repoId); }

ExtTrigExecutionContext::ExtTrigExecutionContext(RTObject_impl& owner, const coil::Properties& props)
    : ExecutionContextBase(owner, props) {}

ExtTrigExecutionContext::~ExtTrigExecutionContext() { stopWorker(); }

void ExtTrigExecutionContext::tick() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ticked = true;
  }
  m_wake.notify_all();
}

bool ExtTrigExecutionContext::onCycleThread() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::this_thread::get_id() == m_workerId;
}

void ExtTrigExecutionContext::startWorker() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_stopping = false;
  m_thread = std::thread(&ExtTrigExecutionContext::work, this);
  m_workerId = m_thread.get_id();
}

void ExtTrigExecutionContext::stopWorker() {
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

void ExtTrigExecutionContext::work() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_stopping || m_ticked; });
    if (m_stopping) return;
    lock.unlock();
    const auto start = std::chrono::steady_clock::now();
    runCycle();
    lock.lock();
    // Ticks that came during the cycle are spent with it.
    m_ticked = false;
    m_wake.wait_for(lock, restOfPeriod(start), [this] { return m_stopping; });
  }
}

SynchExtTriggerEC::SynchExtTriggerEC(RTObject_impl& owner, const coil::Properties& props)
    : ExecutionContextBase(owner, props) {}

bool SynchExtTriggerEC::onCycleThread() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::this_thread::get_id() == m_tickingThread;
}

void SynchExtTriggerEC::tick() {
  if (!is_running()) return;
  std::lock_guard<std::mutex> tick(m_tickMutex);
  const auto start = std::chrono::steady_clock::now();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tickingThread = std::this_thread::get_id();
  }
  runCycle();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tickingThread = std::thread::id();
  }
  std::this_thread::sleep_for(restOfPeriod(start));
}

}  // namespace RTC
