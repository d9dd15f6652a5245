#include <coil/Properties.h>
#include <rtm/ExtTrigExecutionContext.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "component/StrolvexProfile.h"
#include "component/tests/ComponentHarness.h"

namespace {

TEST(StrolvexProfile, HoldsThirtyFivePairsEndedByTheEmptyKey) {
  EXPECT_STREQ(kStrolvexProfile[2 * kStrolvexProfilePairs], "");
  coil::Properties profile(kStrolvexProfile);
  EXPECT_EQ(profile.propertyNames().size(), 35u);
  for (int pair = 0; pair < kStrolvexProfilePairs; ++pair) {
    EXPECT_EQ(profile.getProperty(kStrolvexProfile[2 * pair]), kStrolvexProfile[2 * pair + 1]);
  }
  EXPECT_EQ(profile.getProperty("type_name"), "Strolvex");
  EXPECT_EQ(profile.getProperty("category"), "Category");
  EXPECT_EQ(profile.getProperty("max_instance"), "1");
  EXPECT_EQ(profile.getProperty("activity_type"), "PERIODIC");
  EXPECT_EQ(profile.getProperty("kind"), "DataFlowComponent");
  EXPECT_EQ(profile.getProperty("vendor"), "Tavoran");
}

using Configuration = ProbeFixture;

TEST_F(Configuration, TwelveParametersStartAtTheProfileDefaults) {
  StrolvexProbe& p = probe();
  EXPECT_EQ(p.m_Human_NUM, 6);
  EXPECT_EQ(p.m_Environmental_maxdata, 4000);
  EXPECT_EQ(p.m_LRFdata_min, 44);
  EXPECT_EQ(p.m_LRFdata_max, 725);
  EXPECT_EQ(p.m_LRFdata_mid, 384);
  EXPECT_EQ(p.m_LRFdata_theta, 360);
  EXPECT_EQ(p.m_LRF_Total_steps, 1024);
  EXPECT_EQ(p.m_Human_width, 200);
  EXPECT_EQ(p.m_Count_mode, "IN,OUT");
  EXPECT_EQ(p.m_Human_setdistance, 2800);
  EXPECT_EQ(p.m_StrolvexData, 2500);
  EXPECT_EQ(p.m_Count_area_distance, 2500);

  // The profile advertises the very values the component binds.
  coil::Properties profile(kStrolvexProfile);
  EXPECT_EQ(profile.getProperty("conf.default.Human_NUM"), std::to_string(p.m_Human_NUM));
  EXPECT_EQ(profile.getProperty("conf.default.LRFdata_max"), std::to_string(p.m_LRFdata_max));
  EXPECT_EQ(profile.getProperty("conf.default.Count_mode"), p.m_Count_mode);
  EXPECT_EQ(profile.getProperty("conf.default.Count_area_distance"),
            std::to_string(p.m_Count_area_distance));
}

using Ports = ComponentFixture;

TEST_F(Ports, OneInPortAndFiveOutPortsByNameAndDirection) {
  RTC::Manager& manager = testManager();
  const std::string self = component->getInstanceName();
  const std::string probe = ports->getInstanceName();
  // The fixture has connected all six; the reverse directions must not exist.
  EXPECT_FALSE(manager.connectPorts(self + ".range_data", probe + ".x"));
  for (const char* out : {"human_dataX", "human_dataY", "human_dataV", "human_dataT", "count_data"}) {
    EXPECT_FALSE(manager.connectPorts(probe + ".scan", self + "." + out)) << out;
  }
  EXPECT_FALSE(manager.connectPorts(self + ".range_data2", probe + ".x"));
}

// Runs in a fresh process: starts a manager with args, creates Strolvex,
// feeds it one scan and ends with the length of the published positions,
// which is Human_NUM.
[[noreturn]] void exitWithPublishedSlotCount(std::vector<std::string> args) {
  static std::string program = "component_tests";
  std::vector<char*> argv{&program[0]};
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  RTC::Manager* manager = RTC::Manager::init(static_cast<int>(argv.size() - 1), argv.data());
  manager->activateManager();
  registerTestTypes(*manager);
  RTC::RTObject_impl* component = manager->createComponent("Strolvex");
  PortProbe* ports = static_cast<PortProbe*>(manager->createComponent("PortProbe"));
  if (component == nullptr || ports == nullptr) std::_Exit(100);
  wirePorts(*manager, *component, *ports);
  component->get_context(0)->activate_component(component);
  ports->sendScan(uniformScan(3000.0));
  tickOnce(*component);
  std::_Exit(static_cast<int>(ports->takeX().data.size()));
}

TEST(ConfigurationSources, OptionAndConfigFileOverrideTheDefault) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(exitWithPublishedSlotCount(
                  {"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext", "-o",
                   "Category.Strolvex.conf.default.Human_NUM:4"}),
              ::testing::ExitedWithCode(4), "");

  const std::string file = ::testing::TempDir() + "strolvex_component.conf";
  std::ofstream(file) << "# a component configuration file\nconf.default.Human_NUM: 3\n";
  EXPECT_EXIT(exitWithPublishedSlotCount(
                  {"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext", "-o",
                   "Category.Strolvex.config_file:" + file}),
              ::testing::ExitedWithCode(3), "");
}

}  // namespace
