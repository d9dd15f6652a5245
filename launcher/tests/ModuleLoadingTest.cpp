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

// Feeds a scan to Strolvex and receives its counts.
struct ScanSource : RTC::DataFlowComponentBase {
  explicit ScanSource(RTC::Manager* manager)
      : RTC::DataFlowComponentBase(manager), scanOut("scan", scan), countIn("count", count) {}
  RTC::ReturnCode_t onInitialize() override {
    addOutPort("scan", scanOut);
    addInPort("count", countIn);
    return RTC::RTC_OK;
  }

  RTC::RangeData scan;
  RTC::TimedLongSeq count;
  RTC::OutPort<RTC::RangeData> scanOut;
  RTC::InPort<RTC::TimedLongSeq> countIn;
};

// Runs in a child process. Exit status 0: Strolvex0 exists, is active and
// processes a scan; 1: no Strolvex0; 2: not active; 3: no output.
[[noreturn]] void exitZeroIfThePreloadedModuleRunsStrolvex() {
  std::string args[] = {"launcher_tests", "-f", STROLVEXCOMP_CONF_PATH, "-o", "logger.enable:NO",
                        "-o", std::string("manager.modules.preload:") + STROLVEX_MODULE_PATH,
                        "-o", "manager.components.precreate:Strolvex"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  RTC::Manager* manager = RTC::Manager::init(static_cast<int>(argv.size() - 1), argv.data());
  manager->activateManager();
  // This program does not link the component library: the type can only
  // have come through the module's StrolvexInit.
  RTC::RTObject_impl* strolvex = manager->getComponent("Strolvex0");
  if (strolvex == nullptr || std::string(strolvex->getTypeName()) != "Strolvex") std::_Exit(1);
  if (strolvex->get_context(0)->get_component_state(strolvex) != RTC::ACTIVE_STATE) std::_Exit(2);

  const char* sourceProfile[] = {"implementation_id", "ScanSource", "type_name", "ScanSource", ""};
  coil::Properties profile(sourceProfile);
  manager->registerFactory(profile, RTC::Create<ScanSource>, RTC::Delete<ScanSource>);
  ScanSource* source = static_cast<ScanSource*>(manager->createComponent("ScanSource"));
  manager->connectPorts("ScanSource0.scan", "Strolvex0.range_data");
  manager->connectPorts("Strolvex0.count_data", "ScanSource0.count");
  source->scan.ranges.length(726);
  for (CORBA::ULong s = 0; s < 726; ++s) source->scan.ranges[s] = 3000.0;
  source->scanOut.write();
  // At 10 cycles a second the scan is taken within a tenth of a second.
  for (int wait = 0; wait < 300 && !source->countIn.isNew(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::_Exit(source->countIn.isNew() ? 0 : 3);
}

TEST(ModuleLoading, TheShippedConfigurationPreactivatesThePreloadedStrolvexAndItsContextRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(exitZeroIfThePreloadedModuleRunsStrolvex(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
