#include "component/tests/TestRuntime.h"

#include <gtest/gtest.h>
#include <rtm/idl/RTCSkel.h>
#include <rtm/CORBA_SeqUtil.h>
#include <rtm/ExtTrigExecutionContext.h>
#include <rtm/NVUtil.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "launcher/ManagerStop.h"

namespace testrt {

namespace {

const std::string& logPath() {
  static const std::string path = ::testing::TempDir() + "strolvex-test-" + std::to_string(getpid()) + ".log";
  return path;
}

RTC::Manager* g_manager = nullptr;
std::vector<RTC::RTObject_impl*> g_testComponents;

class DestroyAtTestEnd : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    for (RTC::RTObject_impl* comp : g_testComponents) destroy(comp);
    g_testComponents.clear();
  }
};

// Every series keeps a component's configuration in its protected
// m_configsets; only 1.2 and later also hand it out (getConfigService).
struct ConfigurationOf : RTC::RTObject_impl {
  static RTC::ConfigAdmin& of(RTC::RTObject_impl* comp) { return comp->*(&ConfigurationOf::m_configsets); }
};

}  // namespace

std::vector<std::string>& managerOptions() {
  static std::vector<std::string> options;
  return options;
}

RTC::Manager& manager() {
  if (g_manager != nullptr) return *g_manager;
  // The manager keeps pointers into its command line. A tick sleeps out
  // what is left of the period, and a transition waited for polls at that
  // rate: hence the high one.
  static std::vector<std::string> args{"test", "-o", "exec_cxt.periodic.type:SynchExtTriggerEC",
                                       "-o", "exec_cxt.periodic.rate:1000000", "-o", "exec_cxt.sync_transition:NO",
                                       "-o", "naming.enable:NO", "-o", "manager.shutdown_on_nortcs:NO",
                                       "-o", "manager.shutdown_auto:NO", "-o", "logger.file_name:" + logPath()};
  args.insert(args.end(), managerOptions().begin(), managerOptions().end());
  static std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  std::remove(logPath().c_str());
  g_manager = RTC::Manager::init(static_cast<int>(args.size()), argv.data());
  g_manager->activateManager();
  g_manager->runManager(true);
  return *g_manager;
}

RTC::RTObject_impl* create(const std::string& args) { return manager().createComponent(args.c_str()); }

void destroy(RTC::RTObject_impl* comp) {
  if (comp == nullptr) return;
  if (state(comp) == RTC::ACTIVE_STATE) deactivate(comp);
  comp->exit();
  manager().cleanupComponents();
}

void destroyAtTestEnd(RTC::RTObject_impl* comp) { g_testComponents.push_back(comp); }

RTC::PortService_ptr port(RTC::RTObject_impl* comp, const std::string& name) {
  const std::string wanted = std::string(comp->getInstanceName()) + "." + name;
  RTC::PortServiceList_var ports = comp->get_ports();
  for (CORBA::ULong i = 0; i < ports->length(); ++i) {
    if (wanted == RTC::PortProfile_var(ports[i]->get_port_profile())->name.in())
      return RTC::PortService::_duplicate(ports[i]);
  }
  return RTC::PortService::_nil();
}

RTC::ReturnCode_t connect(RTC::PortService_ptr first, RTC::PortService_ptr second, const Settings& dataport,
                          std::string* id) {
  RTC::ConnectorProfile profile;
  profile.name = CORBA::string_dup("test");
  profile.connector_id = CORBA::string_dup("");
  profile.ports.length(2);
  profile.ports[0] = RTC::PortService::_duplicate(first);
  profile.ports[1] = RTC::PortService::_duplicate(second);
  for (const auto& setting : dataport) {
    const std::string name = "dataport." + setting.first;
    CORBA_SeqUtil::push_back(profile.properties, NVUtil::newNV(name.c_str(), setting.second.c_str()));
  }
  const RTC::ReturnCode_t code = first->connect(profile);
  if (id != nullptr) *id = profile.connector_id.in();
  return code;
}

bool connect(RTC::RTObject_impl* comp, const std::string& outPort, RTC::RTObject_impl* other,
             const std::string& inPort) {
  RTC::PortService_var out = port(comp, outPort);
  RTC::PortService_var in = port(other, inPort);
  const Settings settings = {
      {"interface_type", "corba_cdr"}, {"dataflow_type", "push"}, {"subscription_type", "flush"}};
  return !CORBA::is_nil(out) && !CORBA::is_nil(in) && connect(out, in, settings) == RTC::RTC_OK;
}

void tick(RTC::RTObject_impl* comp) {
  OpenRTM::ExtTrigExecutionContextService_var trigger =
      OpenRTM::ExtTrigExecutionContextService::_narrow(RTC::ExecutionContext_var(comp->get_context(0)));
  ASSERT_FALSE(CORBA::is_nil(trigger)) << comp->getInstanceName() << " has no ticked context";
  trigger->tick();
}

RTC::LifeCycleState state(RTC::RTObject_impl* comp) {
  return RTC::ExecutionContext_var(comp->get_context(0))->get_component_state(comp->getObjRef());
}
// Requests a transition of comp's context and ticks once.
#define TRANSITION(request) \
  RTC::LifeCycleState request(RTC::RTObject_impl* comp) { \
    RTC::ExecutionContext_var(comp->get_context(0))->request##_component(comp->getObjRef()); \
    tick(comp); \
    return state(comp); \
  }
TRANSITION(activate) TRANSITION(deactivate) TRANSITION(reset)
#undef TRANSITION

void setParameter(RTC::RTObject_impl* comp, const std::string& name, const std::string& value) {
  coil::Properties set("default");
  set.setProperty(name, value);
  ConfigurationOf::of(comp).setConfigurationSetValues(set);
  ConfigurationOf::of(comp).activateConfigurationSet("default");
}

LogTail::LogTail() : m_start(0) {
  manager();
  std::ifstream log(logPath(), std::ios::ate);
  if (log) m_start = static_cast<long>(log.tellg());
}

std::string LogTail::text() const {
  std::ifstream log(logPath());
  log.seekg(m_start);
  std::stringstream text;
  text << log.rdbuf();
  return text.str();
}

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 5000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

void prepareTests() { ::testing::UnitTest::GetInstance()->listeners().Append(new DestroyAtTestEnd); }

void stopManager() {
  if (g_manager == nullptr) return;
  stopRunningManager(*g_manager);
  g_manager = nullptr;
  std::remove(logPath().c_str());
}

}  // namespace testrt
