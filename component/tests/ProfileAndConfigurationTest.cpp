#include <fstream>
#include <string>

#include "component/tests/ComponentHarness.h"

namespace {

TEST(StrolvexProfile, HoldsThirtyFivePairsEndedByTheEmptyKey) {
  // Type, category and defaults show in the tests of the component below.
  EXPECT_STREQ(kStrolvexProfile[2 * kStrolvexProfilePairs], "");
  EXPECT_EQ(coil::Properties(kStrolvexProfile).propertyNames().size(), 35u);
}

using Configuration = StrolvexTest;

TEST_F(Configuration, OneInPortFiveOutPortsAndTwelveParametersAtTheirDefaults) {
  // The fixture connected all six; none exists in the other direction.
  EXPECT_FALSE(manager->connectPorts("Strolvex0.range_data", "PortProbe0.count_data"));
  for (auto& port : ports->outputs) {
    EXPECT_FALSE(manager->connectPorts("PortProbe0.scan", std::string("Strolvex0.") + port.getName()));
  }
  EXPECT_EQ(probe->m_Human_NUM, 6);
  EXPECT_EQ(probe->m_Environmental_maxdata, 4000);
  EXPECT_EQ(probe->m_LRFdata_min, 44);
  EXPECT_EQ(probe->m_LRFdata_max, 725);
  EXPECT_EQ(probe->m_LRFdata_mid, 384);
  EXPECT_EQ(probe->m_LRFdata_theta, 360);
  EXPECT_EQ(probe->m_LRF_Total_steps, 1024);
  EXPECT_EQ(probe->m_Human_width, 200);
  EXPECT_EQ(probe->m_Count_mode, "IN,OUT");
  EXPECT_EQ(probe->m_Human_setdistance, 2800);
  EXPECT_EQ(probe->m_StrolvexData, 2500);
  EXPECT_EQ(probe->m_Count_area_distance, 2500);
}

TEST_F(Configuration, OptionAndConfigFileOverrideTheDefault) {
  const auto publishedSlots = [this] {
    ports->sendScan(uniformScan(3000.0));
    tick();
    return ports->take(PortProbe::kX).size();
  };
  ASSERT_NO_FATAL_FAILURE(start({"-o", "Category.Strolvex.conf.default.Human_NUM:4"}));
  EXPECT_EQ(publishedSlots(), 4u);

  const std::string file = ::testing::TempDir() + "strolvex_component.conf";
  std::ofstream(file) << "# a component configuration file\nconf.default.Human_NUM: 3\n";
  ASSERT_NO_FATAL_FAILURE(start({"-o", "Category.Strolvex.config_file:" + file}));
  EXPECT_EQ(publishedSlots(), 3u);
}

}  // namespace
