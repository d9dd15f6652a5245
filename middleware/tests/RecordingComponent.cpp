#include "RecordingComponent.h"

#include <stdexcept>

namespace {

std::mutex g_eventsMutex;
std::vector<std::string> g_events;

}  // namespace

std::vector<std::string> recordedEvents() {
  std::lock_guard<std::mutex> lock(g_eventsMutex);
  return g_events;
}

void clearRecordedEvents() {
  std::lock_guard<std::mutex> lock(g_eventsMutex);
  g_events.clear();
}

std::vector<std::string> eventsOf(const std::string& instance) {
  std::vector<std::string> result;
  const std::string prefix = instance + ":";
  for (const std::string& event : recordedEvents()) {
    if (event.compare(0, prefix.size(), prefix) == 0) {
      result.push_back(event.substr(prefix.size()));
    }
  }
  return result;
}

RecordingComponent::RecordingComponent(RTC::Manager* manager)
    : DataFlowComponentBase(manager),
      m_count(0),
      m_countAtActivation(-1),
      m_inPort("in", m_in, 4),
      m_outPort("out", m_out),
      m_writeAtActivation(false),
      m_executions(0) {}

RecordingComponent::~RecordingComponent() { record("destroyed"); }

RTC::ReturnCode_t RecordingComponent::record(const char* callback) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_threads[callback] = std::this_thread::get_id();
  }
  {
    std::lock_guard<std::mutex> lock(g_eventsMutex);
    g_events.push_back(std::string(getInstanceName()) + ":" + callback);
  }
  if (getProperties().getProperty("test.throw") == callback) {
    throw std::runtime_error(std::string("injected failure in ") + callback);
  }
  return getProperties().getProperty("test.fail") == callback ? RTC::RTC_ERROR : RTC::RTC_OK;
}

RTC::ReturnCode_t RecordingComponent::onInitialize() {
  bindParameter("count", m_count, "7");
  bindParameter("label", m_label, "none");
  addInPort("in", m_inPort);
  addOutPort("out", m_outPort);
  m_writeAtActivation = getProperties().getProperty("test.write_at_activation") == "YES";
  return record("onInitialize");
}

RTC::ReturnCode_t RecordingComponent::onFinalize() { return record("onFinalize"); }
RTC::ReturnCode_t RecordingComponent::onStartup(RTC::UniqueId) { return record("onStartup"); }
RTC::ReturnCode_t RecordingComponent::onShutdown(RTC::UniqueId) { return record("onShutdown"); }

RTC::ReturnCode_t RecordingComponent::onActivated(RTC::UniqueId) {
  m_countAtActivation = m_count;
  if (m_writeAtActivation && m_outPort.write()) {
    record("wrote");
  }
  return record("onActivated");
}

RTC::ReturnCode_t RecordingComponent::onDeactivated(RTC::UniqueId) { return record("onDeactivated"); }

RTC::ReturnCode_t RecordingComponent::onExecute(RTC::UniqueId) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_executions;
  }
  return record("onExecute");
}

RTC::ReturnCode_t RecordingComponent::onAborting(RTC::UniqueId) { return record("onAborting"); }
RTC::ReturnCode_t RecordingComponent::onError(RTC::UniqueId) { return record("onError"); }
RTC::ReturnCode_t RecordingComponent::onReset(RTC::UniqueId) { return record("onReset"); }
RTC::ReturnCode_t RecordingComponent::onStateUpdate(RTC::UniqueId) { return record("onStateUpdate"); }

std::thread::id RecordingComponent::threadOf(const std::string& callback) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_threads[callback];
}

int RecordingComponent::executions() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_executions;
}

bool registerRecorder(RTC::Manager* manager) {
  const char* profile[] = {"type_name", "Recorder", "category", "Test", "conf.default.count", "5", ""};
  coil::Properties properties(profile);
  return manager->registerFactory(properties, RTC::Create<RecordingComponent>,
                                  RTC::Delete<RecordingComponent>);
}
