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
  return record("onInitialize");
}

RTC::ReturnCode_t RecordingComponent::onActivated(RTC::UniqueId) {
  m_countAtActivation = m_count;
  if (getProperties().getProperty("test.write_at_activation") == "YES" && m_outPort.write()) {
    record("wrote");
  }
  return record("onActivated");
}

std::thread::id RecordingComponent::threadOf(const std::string& callback) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_threads[callback];
}

bool registerRecorder(RTC::Manager* manager) {
  const char* profile[] = {"type_name", "Recorder", "category", "Test", "conf.default.count", "5", ""};
  coil::Properties properties(profile);
  return manager->registerFactory(properties, RTC::Create<RecordingComponent>, RTC::Delete<RecordingComponent>);
}
