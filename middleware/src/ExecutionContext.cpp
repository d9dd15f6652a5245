#include <rtm/ExecutionContext.h>

#include <rtm/RTObject.h>

#include <exception>

namespace RTC {

namespace {

// The handle a component's callbacks receive for the context it owns.
const UniqueId kOwnedContext = 0;

const char* returnCodeName(ReturnCode_t code) {
  switch (code) {
    case RTC_OK: return "RTC_OK";
    case RTC_ERROR: return "RTC_ERROR";
    case BAD_PARAMETER: return "BAD_PARAMETER";
    case UNSUPPORTED: return "UNSUPPORTED";
    case OUT_OF_RESOURCES: return "OUT_OF_RESOURCES";
    case PRECONDITION_NOT_MET: return "PRECONDITION_NOT_MET";
  }
  return "an unknown code";
}

}  // namespace

ExecutionContext::ExecutionContext(RTObject_impl& owner)
    : m_owner(owner), rtclog(owner.getInstanceName()), m_state(INACTIVE_STATE), m_running(false),
      m_stopRequested(false) {}

ExecutionContext::~ExecutionContext() = default;

OpenRTM::ExtTrigExecutionContextService* ExecutionContext::extTrigService() { return nullptr; }

bool ExecutionContext::invoke(const char* callback, const std::function<ReturnCode_t()>& call) {
  try {
    const ReturnCode_t code = call();
    if (code == RTC_OK) {
      return true;
    }
    RTC_ERROR(("%s returned %s", callback, returnCodeName(code)));
  } catch (const std::exception& e) {
    RTC_ERROR(("%s threw: %s", callback, e.what()));
  } catch (...) {
    RTC_ERROR(("%s threw an exception", callback));
  }
  return false;
}

void ExecutionContext::enterError(const char* cause) {
  RTC_ERROR(("%s entered the error state after %s", m_owner.getInstanceName(), cause));
  m_state = ERROR_STATE;
  invoke("onDeactivated", [this] { return m_owner.onDeactivated(kOwnedContext); });
  invoke("onAborting", [this] { return m_owner.onAborting(kOwnedContext); });
}

ReturnCode_t ExecutionContext::activate_component(RTObject_impl* comp) {
  if (comp != &m_owner) {
    return BAD_PARAMETER;
  }
  ReturnCode_t result = PRECONDITION_NOT_MET;
  runOnContextThread([this, &result] {
    if (m_state != INACTIVE_STATE || m_stopRequested) {
      return;
    }
    m_owner.getConfigService().update();
    if (invoke("onActivated", [this] { return m_owner.onActivated(kOwnedContext); })) {
      m_state = ACTIVE_STATE;
      result = RTC_OK;
    } else {
      enterError("onActivated");
      result = RTC_ERROR;
    }
  });
  return result;
}

ReturnCode_t ExecutionContext::deactivate_component(RTObject_impl* comp) {
  if (comp != &m_owner) {
    return BAD_PARAMETER;
  }
  ReturnCode_t result = PRECONDITION_NOT_MET;
  runOnContextThread([this, &result] {
    if (m_state != ACTIVE_STATE) {
      return;
    }
    // The component is inactive afterwards whatever onDeactivated says;
    // a failure is only logged.
    invoke("onDeactivated", [this] { return m_owner.onDeactivated(kOwnedContext); });
    m_state = INACTIVE_STATE;
    result = RTC_OK;
  });
  return result;
}

ReturnCode_t ExecutionContext::reset_component(RTObject_impl* comp) {
  if (comp != &m_owner) {
    return BAD_PARAMETER;
  }
  ReturnCode_t result = PRECONDITION_NOT_MET;
  runOnContextThread([this, &result] {
    if (m_state != ERROR_STATE) {
      return;
    }
    if (invoke("onReset", [this] { return m_owner.onReset(kOwnedContext); })) {
      m_state = INACTIVE_STATE;
      result = RTC_OK;
    } else {
      result = RTC_ERROR;
    }
  });
  return result;
}

LifeCycleState ExecutionContext::get_component_state(RTObject_impl* comp) {
  return comp == &m_owner ? static_cast<LifeCycleState>(m_state.load()) : CREATED_STATE;
}

ReturnCode_t ExecutionContext::start() {
  if (m_running) {
    return PRECONDITION_NOT_MET;
  }
  invoke("onStartup", [this] { return m_owner.onStartup(kOwnedContext); });
  m_stopRequested = false;
  m_running = true;
  startWorker();
  return RTC_OK;
}

ReturnCode_t ExecutionContext::stop() {
  if (!m_running) {
    return PRECONDITION_NOT_MET;
  }
  m_stopRequested = true;
  deactivate_component(&m_owner);
  stopWorker();
  m_running = false;
  invoke("onShutdown", [this] { return m_owner.onShutdown(kOwnedContext); });
  return RTC_OK;
}

void ExecutionContext::runCycle() {
  switch (m_state.load()) {
    case ACTIVE_STATE:
      if (!invoke("onExecute", [this] { return m_owner.onExecute(kOwnedContext); })) {
        enterError("onExecute");
      } else if (!invoke("onStateUpdate", [this] { return m_owner.onStateUpdate(kOwnedContext); })) {
        enterError("onStateUpdate");
      } else {
        m_owner.getConfigService().update();
      }
      break;
    case ERROR_STATE:
      invoke("onError", [this] { return m_owner.onError(kOwnedContext); });
      break;
    default:
      break;
  }
}

}  // namespace RTC
