// What the runtime's tests share: a component that records its callbacks
// and a fresh manager per test; ports, ticks and waits as every test
// program has them (component/tests/TestRuntime.h).
#ifndef MIDDLEWARE_TESTS_TESTSUPPORT_H
#define MIDDLEWARE_TESTS_TESTSUPPORT_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/NVUtil.h>
#include <rtm/OutPort.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "component/tests/TestRuntime.h"

using testrt::Settings;
using testrt::connect;
using testrt::eventually;
using testrt::occurrences;
using testrt::port;
using testrt::state;
using testrt::tick;
typedef std::vector<std::string> Events;

// "<instance>:<callback>", kept after the components that record them.
inline std::pair<std::mutex, Events>& eventStore() {
  static std::pair<std::mutex, Events> store;
  return store;
}
inline Events allEvents(bool clear = false) {
  std::lock_guard<std::mutex> lock(eventStore().first);
  Events events = eventStore().second;
  if (clear) eventStore().second.clear();
  return events;
}
// One instance's callbacks; the cycle's own only when cycles is set.
inline Events eventsOf(const std::string& source, bool cycles = true) {
  Events result;
  for (const std::string& event : allEvents()) {
    const std::string name = event.substr(event.find(':') + 1);
    if (event.compare(0, source.size() + 1, source + ":") == 0 &&
        (cycles || (name != "onExecute" && name != "onStateUpdate")))
      result.push_back(name);
  }
  return result;
}
inline long countOf(const Events& events, const std::string& event) {
  return std::count(events.begin(), events.end(), event);
}
#define RECORDED(callback) \
  RTC::ReturnCode_t callback(RTC::UniqueId) override { return record(#callback); }

// The callback named by the property test.fail returns RTC_ERROR, the one
// named by test.throw throws; test.slow=onActivated makes activation slow.
class Recorder : public RTC::DataFlowComponentBase {
 public:
  explicit Recorder(RTC::Manager* manager) : DataFlowComponentBase(manager) {}
  ~Recorder() override { record("destroyed"); }
  RTC::ReturnCode_t onInitialize() override {
    bindParameter("count", m_count, "7");
    addInPort("in", m_inPort);
    addOutPort("out", m_outPort);
    return record("onInitialize");
  }
  RTC::ReturnCode_t onFinalize() override { return record("onFinalize"); }
  RECORDED(onStartup) RECORDED(onShutdown) RECORDED(onActivated) RECORDED(onDeactivated) RECORDED(onAborting)
  RECORDED(onError) RECORDED(onReset) RECORDED(onExecute) RECORDED(onStateUpdate)

  int m_count = 0, m_countAtActivation = -1;
  std::function<void()> m_beforeExecute;  // set before activation
  std::atomic<std::thread::id> m_executeThread{};
  RTC::TimedLong m_in, m_out;
  RTC::InPort<RTC::TimedLong> m_inPort{"in", m_in};
  RTC::OutPort<RTC::TimedLong> m_outPort{"out", m_out};

 private:
  RTC::ReturnCode_t record(const std::string& callback) {
    const coil::Properties& props = getProperties();
    if (callback == "onExecute") {
      m_executeThread = std::this_thread::get_id();
      if (m_beforeExecute) m_beforeExecute();
    } else if (callback == "onActivated") {
      if (props.getProperty("test.slow") == callback) std::this_thread::sleep_for(std::chrono::milliseconds(30));
      m_countAtActivation = m_count;
    }
    {
      std::lock_guard<std::mutex> lock(eventStore().first);
      eventStore().second.push_back(std::string(getInstanceName()) + ":" + callback);
    }
    if (props.getProperty("test.throw") == callback) throw std::runtime_error(callback);
    return props.getProperty("test.fail") == callback ? RTC::RTC_ERROR : RTC::RTC_OK;
  }
};

// As type, category "Test", conf.default.count 5 in its profile.
inline bool registerRecorder(RTC::Manager* manager, const char* type = "Recorder") {
  const char* profile[] = {"type_name", type, "category", "Test", "conf.default.count", "5", ""};
  coil::Properties properties(profile);
  return manager->registerFactory(properties, RTC::Create<Recorder>, RTC::Delete<Recorder>);
}

inline RTC::Manager* initManager(std::vector<std::string> args) {
  args.insert(args.begin(), "test");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  return RTC::Manager::init(static_cast<int>(args.size()), argv.data());
}

inline std::string writeScratchFile(const std::string& name, const std::string& text) {
  const std::string path = std::string(TEST_SCRATCH_DIR) + "/" + name;
  std::ofstream(path) << text;
  return path;
}

inline CORBA::ULong connectionCount(RTC::PortService_ptr port) {
  return RTC::PortProfile_var(port->get_port_profile())->connector_profiles.length();
}

// Requests made of the component's own context, which may not tick: their
// answer, not the state reached (testrt's do that).
inline RTC::ExecutionContext_ptr contextOf(RTC::RTObject_impl* comp) { return comp->get_context(0); }
#define REQUEST(name) inline RTC::ReturnCode_t name(RTC::RTObject_impl* comp) { \
    return RTC::ExecutionContext_var(contextOf(comp))->name##_component(comp->getObjRef()); }
REQUEST(activate) REQUEST(deactivate) REQUEST(reset)
#undef REQUEST
class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { allEvents(true); }
  void TearDown() override { stop(); }
  // A manager logging errors to stderr, then args, with Recorder; running
  // unless told otherwise.
  RTC::Manager* start(std::vector<std::string> args = {}, bool run = true) {
    args.insert(args.begin(), {"-o", "logger.file_name:stderr", "-o", "logger.log_level:ERROR"});
    m_manager = initManager(args);
    registerRecorder(m_manager);
    if (run) this->run();
    return m_manager;
  }
  bool run() {
    m_running = true;
    const bool activated = m_manager->activateManager();
    m_manager->runManager(true);
    return activated;
  }
  void stop() {
    if (m_manager == nullptr) return;
    if (!m_running) m_manager->runManager(true);
    m_manager->terminate();
    m_manager->join();
    m_manager = nullptr;
    m_running = false;
  }
  Recorder* create(const std::string& args = "") {
    return static_cast<Recorder*>(m_manager->createComponent(("Recorder" + args).c_str()));
  }

  RTC::Manager* m_manager = nullptr;
  bool m_running = false;
};

#endif
