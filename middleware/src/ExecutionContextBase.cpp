#include "ExecutionContextBase.h"

#include <coil/stringutil.h>
#include <rtm/RTObject.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace RTC {

namespace {

// The handle a component's callbacks receive for the context it owns.
const UniqueId kOwnedContext = 0;
const double kDefaultRateHz = 1000.0;
const double kDefaultTimeoutS = 0.5;

const char* returnCodeName(ReturnCode_t code) {
  switch (code) {
    case RTC_OK: return "RTC_OK";
    case RTC_ERROR: return "RTC_ERROR";
    case BAD_PARAMETER: return "BAD_PARAMETER";
    case UNSUPPORTED: return "UNSUPPORTED";
    case OUT_OF_RESOURCES: return "OUT_OF_RESOURCES";
    case PRECONDITION_NOT_MET: return "PRECONDITION_NOT_MET";
    default: return "an unknown code";
  }
}

bool yes(const std::string& text) {
  std::string upper = text;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  return upper == "YES" || upper == "TRUE" || upper == "ON";
}

// The key's YES/NO, or fallback when it is not set.
bool flag(const coil::Properties& props, const std::string& key, bool fallback) {
  const std::string& text = props.getProperty(key);
  return text.empty() ? fallback : yes(text);
}

double seconds(const coil::Properties& props, const std::string& key, double fallback) {
  double value = fallback;
  const std::string& text = props.getProperty(key);
  if (!text.empty() && (!coil::stringTo(value, text.c_str()) || !(value >= 0.0))) value = fallback;
  return value;
}

double rateOf(const coil::Properties& props) {
  double rate = kDefaultRateHz;
  const std::string& text = props.getProperty("exec_cxt.periodic.rate");
  if (!text.empty()) coil::stringTo(rate, text.c_str());
  return rate;
}

}  // namespace

ExecutionContextBase::ExecutionContextBase(RTObject_impl& owner, const coil::Properties& props)
    : m_owner(&owner),
      rtclog(owner.getInstanceName()),
      m_rate(rateOf(props)),
      m_period(std::chrono::duration_cast<std::chrono::nanoseconds>(
          std::chrono::duration<double>(1.0 / m_rate))),
      m_curr(INACTIVE_STATE),
      m_next(INACTIVE_STATE),
      m_running(false),
      m_stopRequested(false) {
  const bool sync = flag(props, "exec_cxt.sync_transition", true);
  m_syncActivation = flag(props, "exec_cxt.sync_activation", sync);
  m_syncDeactivation = flag(props, "exec_cxt.sync_deactivation", sync);
  m_syncReset = flag(props, "exec_cxt.sync_reset", sync);
  const double timeout = seconds(props, "exec_cxt.transition_timeout", kDefaultTimeoutS);
  m_activationTimeout = seconds(props, "exec_cxt.activation_timeout", timeout);
  m_deactivationTimeout = seconds(props, "exec_cxt.deactivation_timeout", timeout);
  m_resetTimeout = seconds(props, "exec_cxt.reset_timeout", timeout);
}

ExecutionContextBase::~ExecutionContextBase() = default;

bool ExecutionContextBase::isOwner(LightweightRTObject_ptr comp) {
  std::lock_guard<std::recursive_mutex> cycle(m_cycleMutex);
  return m_owner != nullptr && !CORBA::is_nil(comp) &&
         comp == static_cast<LightweightRTObject_ptr>(m_owner->getObjRef());
}

void ExecutionContextBase::detach() {
  std::lock_guard<std::recursive_mutex> cycle(m_cycleMutex);
  m_owner = nullptr;
}

CORBA::Boolean ExecutionContextBase::is_running() { return m_running; }

CORBA::Double ExecutionContextBase::get_rate() { return m_rate; }

std::chrono::nanoseconds ExecutionContextBase::restOfPeriod(
    std::chrono::steady_clock::time_point start) const {
  const auto spent = std::chrono::steady_clock::now() - start;
  return spent < m_period ? m_period - std::chrono::duration_cast<std::chrono::nanoseconds>(spent)
                          : std::chrono::nanoseconds(0);
}

LifeCycleState ExecutionContextBase::current() {
  std::lock_guard<std::mutex> lock(m_stateMutex);
  return m_curr;
}

LifeCycleState ExecutionContextBase::next() {
  std::lock_guard<std::mutex> lock(m_stateMutex);
  return m_next;
}

void ExecutionContextBase::goTo(LifeCycleState state) {
  std::lock_guard<std::mutex> lock(m_stateMutex);
  m_next = state;
}

bool ExecutionContextBase::invoke(const char* callback, const std::function<ReturnCode_t()>& call) {
  try {
    const ReturnCode_t code = call();
    if (code == RTC_OK) return true;
    RTC_ERROR(("%s returned %s", callback, returnCodeName(code)));
  } catch (const std::exception& e) {
    RTC_ERROR(("%s threw: %s", callback, e.what()));
  } catch (...) {
    RTC_ERROR(("%s threw an exception", callback));
  }
  return false;
}

// A failed action sends the component to the error state at the next cycle.
void ExecutionContextBase::leave(LifeCycleState state) {
  if (state == ACTIVE_STATE) {
    invoke("onDeactivated", [this] { return m_owner->onDeactivated(kOwnedContext); });
  } else if (state == ERROR_STATE) {
    if (!invoke("onReset", [this] { return m_owner->onReset(kOwnedContext); })) goTo(ERROR_STATE);
  }
}

void ExecutionContextBase::enter(LifeCycleState state) {
  if (state == ACTIVE_STATE) {
    m_owner->getConfigService().update();
    if (!invoke("onActivated", [this] { return m_owner->onActivated(kOwnedContext); })) {
      goTo(ERROR_STATE);
    }
  } else if (state == ERROR_STATE) {
    RTC_ERROR(("the component entered the error state"));
    invoke("onAborting", [this] { return m_owner->onAborting(kOwnedContext); });
  }
}

void ExecutionContextBase::runTransition() {
  std::lock_guard<std::recursive_mutex> cycle(m_cycleMutex);
  const LifeCycleState from = current();
  if (next() == from) return;
  leave(from);
  LifeCycleState to;
  {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    if (m_next == from) return;  // a failed reset stays in error
    to = m_next;
  }
  // As in the real state machine, the new state becomes current once its
  // entry action has run: a request waiting for it returns after
  // onActivated, never while it runs.
  enter(to);
  std::lock_guard<std::mutex> lock(m_stateMutex);
  m_curr = to;
}

void ExecutionContextBase::runCycle() {
  std::lock_guard<std::recursive_mutex> cycle(m_cycleMutex);
  runTransition();
  const LifeCycleState state = current();
  if (state == ERROR_STATE) {
    invoke("onError", [this] { return m_owner->onError(kOwnedContext); });
    return;
  }
  if (state != ACTIVE_STATE || next() == ERROR_STATE) return;
  if (!invoke("onExecute", [this] { return m_owner->onExecute(kOwnedContext); })) {
    goTo(ERROR_STATE);
    return;
  }
  if (!invoke("onStateUpdate", [this] { return m_owner->onStateUpdate(kOwnedContext); })) {
    goTo(ERROR_STATE);
    return;
  }
  m_owner->getConfigService().update();
}

ReturnCode_t ExecutionContextBase::request(LightweightRTObject_ptr comp, LifeCycleState from,
                                           LifeCycleState to, bool wait, double timeout_s) {
  if (!isOwner(comp)) return BAD_PARAMETER;
  {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    if (m_curr != from || m_next != from || (to == ACTIVE_STATE && m_stopRequested)) {
      return PRECONDITION_NOT_MET;
    }
    m_next = to;
  }
  onTransitionRequested();
  // A request from the cycle itself cannot wait for the cycle.
  if (!wait || onCycleThread()) return RTC_OK;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::duration<double>(timeout_s));
  while (current() == from && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::min(m_period, std::chrono::nanoseconds(1000000)));
  }
  const LifeCycleState reached = current();
  if (reached == from) {
    RTC_WARN(("the component did not leave its state within %g s", timeout_s));
    return RTC_ERROR;
  }
  return reached == ERROR_STATE && to != ERROR_STATE ? PRECONDITION_NOT_MET : RTC_OK;
}

ReturnCode_t ExecutionContextBase::activate_component(LightweightRTObject_ptr comp) {
  return request(comp, INACTIVE_STATE, ACTIVE_STATE, m_syncActivation, m_activationTimeout);
}

ReturnCode_t ExecutionContextBase::deactivate_component(LightweightRTObject_ptr comp) {
  return request(comp, ACTIVE_STATE, INACTIVE_STATE, m_syncDeactivation, m_deactivationTimeout);
}

ReturnCode_t ExecutionContextBase::reset_component(LightweightRTObject_ptr comp) {
  return request(comp, ERROR_STATE, INACTIVE_STATE, m_syncReset, m_resetTimeout);
}

LifeCycleState ExecutionContextBase::get_component_state(LightweightRTObject_ptr comp) {
  if (!isOwner(comp)) return CREATED_STATE;
  return current();
}

void ExecutionContextBase::waitForWorker() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (current() != next() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

ReturnCode_t ExecutionContextBase::start() {
  if (m_running) return PRECONDITION_NOT_MET;
  invoke("onStartup", [this] { return m_owner->onStartup(kOwnedContext); });
  m_stopRequested = false;
  m_running = true;
  startWorker();
  return RTC_OK;
}

ReturnCode_t ExecutionContextBase::stop() {
  if (!m_running) return PRECONDITION_NOT_MET;
  {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    m_stopRequested = true;
    // An activation still pending is dropped; an active component leaves
    // its state on the context's own thread while it still runs.
    if (m_next == ACTIVE_STATE && m_curr == INACTIVE_STATE) m_next = INACTIVE_STATE;
    if (m_curr == ACTIVE_STATE) m_next = INACTIVE_STATE;
  }
  if (!onCycleThread()) {
    onTransitionRequested();
    waitForWorker();
  }
  stopWorker();
  // A context whose cycles nobody drives any more still owes the component
  // its deactivation.
  runTransition();
  m_running = false;
  invoke("onShutdown", [this] { return m_owner->onShutdown(kOwnedContext); });
  return RTC_OK;
}

}  // namespace RTC
