#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// Feeds scans to Strolvex and receives its counts.
class ScanSource : public RTC::DataFlowComponentBase {
 public:
  explicit ScanSource(RTC::Manager* manager)
      : RTC::DataFlowComponentBase(manager), m_scanOut("scan", m_scan), m_countIn("count", m_count) {}
  RTC::ReturnCode_t onInitialize() override {
    addOutPort("scan", m_scanOut);
    addInPort("count", m_countIn);
    return RTC::RTC_OK;
  }
  void sendScan() {
    m_scan.ranges.length(726);
    for (CORBA::ULong s = 0; s < 726; ++s) m_scan.ranges[s] = 3000.0;
    m_scanOut.write();
  }
  bool countArrived() { return m_countIn.isNew(); }

 private:
  RTC::RangeData m_scan;
  RTC::OutPort<RTC::RangeData> m_scanOut;
  RTC::TimedLongSeq m_count;
  RTC::InPort<RTC::TimedLongSeq> m_countIn;
};

const char* kScanSourceProfile[] = {"implementation_id", "ScanSource", "type_name", "ScanSource",
                                    "category", "Test", ""};

RTC::Manager* startManager(std::vector<std::string> args) {
  static std::string program = "launcher_tests";
  static std::vector<std::string> kept;
  kept = std::move(args);
  static std::vector<char*> argv;
  argv.assign(1, &program[0]);
  for (std::string& arg : kept) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  RTC::Manager* manager = RTC::Manager::init(static_cast<int>(argv.size() - 1), argv.data());
  manager->activateManager();
  return manager;
}

const std::string kPreloadStrolvex = std::string("manager.modules.preload:") + STROLVEX_MODULE_PATH;

[[noreturn]] void exitZeroIfTheModuleCreatedStrolvex() {
  RTC::Manager* manager =
      startManager({"-o", "logger.enable:NO", "-o", kPreloadStrolvex, "-o",
                    "manager.components.precreate:Strolvex", "-o",
                    "exec_cxt.periodic.type:ExtTrigExecutionContext"});
  RTC::RTObject_impl* component = manager->getComponent("Strolvex0");
  std::_Exit(component != nullptr && std::string(component->getTypeName()) == "Strolvex" ? 0 : 1);
}

// Exit status 0: active and processing; 1: not active; 2: no output.
[[noreturn]] void exitZeroIfPreactivatedAndRunning() {
  RTC::Manager* manager = startManager({"-f", STROLVEXCOMP_CONF_PATH, "-o", "logger.enable:NO",
                                        "-o", kPreloadStrolvex, "-o",
                                        "manager.components.precreate:Strolvex"});
  RTC::RTObject_impl* component = manager->getComponent("Strolvex0");
  if (component == nullptr ||
      component->get_context(0)->get_component_state(component) != RTC::ACTIVE_STATE) {
    std::_Exit(1);
  }
  coil::Properties profile(kScanSourceProfile);
  manager->registerFactory(profile, RTC::Create<ScanSource>, RTC::Delete<ScanSource>);
  ScanSource* source = static_cast<ScanSource*>(manager->createComponent("ScanSource"));
  manager->connectPorts(std::string(source->getInstanceName()) + ".scan", "Strolvex0.range_data");
  manager->connectPorts("Strolvex0.count_data", std::string(source->getInstanceName()) + ".count");
  source->sendScan();
  // At 10 cycles a second the scan is taken within a tenth of a second.
  for (int wait = 0; wait < 300 && !source->countArrived(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::_Exit(source->countArrived() ? 0 : 2);
}

TEST(ModuleLoading, AManagerCreatesStrolvexThroughTheModulesInitFunction) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(exitZeroIfTheModuleCreatedStrolvex(), ::testing::ExitedWithCode(0), "");
}

TEST(ModuleLoading, TheShippedConfigurationPreactivatesStrolvexAndItsContextRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(exitZeroIfPreactivatedAndRunning(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
