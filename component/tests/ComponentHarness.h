// Drives a Strolvex component through the built-in runtime: a fresh manager
// per test with externally triggered contexts, a port probe wired to the
// component's six ports, and tick() for one cycle.
#ifndef STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H
#define STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H

#include <gtest/gtest.h>
#include <rtm/ExtTrigExecutionContext.h>
#include <rtm/Factory.h>

#include <cstdint>
#include <string>
#include <vector>

#include "component/StrolvexProfile.h"
#include "component/tests/PortProbe.h"
#include "component/tests/StrolvexProbe.h"

inline std::vector<double> uniformScan(double range, std::size_t length = 726) {
  return std::vector<double>(length, range);
}

// "Strolvex0" is a StrolvexProbe registered under the Strolvex profile.
class StrolvexTest : public ::testing::Test {
 protected:
  void SetUp() override { start({}); }
  void TearDown() override { manager->shutdown(); }

  // Replaces the manager by one with these extra options, and makes a fresh
  // active component wired to a fresh probe.
  void start(std::vector<std::string> options) {
    if (manager != nullptr) manager->shutdown();
    options.insert(options.begin(),
                   {"component_tests", "-o", "exec_cxt.periodic.type:ExtTrigExecutionContext"});
    std::vector<char*> argv;
    for (std::string& option : options) argv.push_back(&option[0]);
    argv.push_back(nullptr);
    manager = RTC::Manager::init(static_cast<int>(options.size()), argv.data());
    manager->activateManager();
    coil::Properties strolvex(kStrolvexProfile);
    manager->registerFactory(strolvex, RTC::Create<StrolvexProbe>, RTC::Delete<StrolvexProbe>);
    const char* portProbeProfile[] = {"implementation_id", "PortProbe", "type_name", "PortProbe", ""};
    coil::Properties portProbe(portProbeProfile);
    manager->registerFactory(portProbe, RTC::Create<PortProbe>, RTC::Delete<PortProbe>);

    probe = static_cast<StrolvexProbe*>(manager->createComponent("Strolvex"));
    ports = static_cast<PortProbe*>(manager->createComponent("PortProbe"));
    ASSERT_TRUE(probe != nullptr && ports != nullptr);
    ASSERT_TRUE(manager->connectPorts("PortProbe0.scan", "Strolvex0.range_data"));
    for (auto& port : ports->outputs) {
      ASSERT_TRUE(manager->connectPorts(std::string("Strolvex0.") + port.getName(),
                                        std::string("PortProbe0.") + port.getName()));
    }
    ASSERT_EQ(activate(), RTC::RTC_OK);
  }

  void tick() { OpenRTM::ExtTrigExecutionContextService::_narrow(probe->get_context(0))->tick(); }
  RTC::ReturnCode_t activate() { return probe->get_context(0)->activate_component(probe); }
  RTC::ReturnCode_t deactivate() { return probe->get_context(0)->deactivate_component(probe); }
  RTC::LifeCycleState state() { return probe->get_context(0)->get_component_state(probe); }
  // Bound variables follow the "default" set after a cycle: an idle one will do.
  void setParameter(const char* name, const std::string& value) {
    probe->getConfigService().setParameter("default", name, value);
    tick();
  }

  RTC::Manager* manager = nullptr;
  StrolvexProbe* probe = nullptr;
  PortProbe* ports = nullptr;
};

#endif
