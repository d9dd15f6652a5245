#include "component/tests/ComponentHarness.h"

namespace {

using Configuration = StrolvexTest;

TEST_F(Configuration, SixPortsAndTwelveParametersAtTheirDefaults) {
  // The fixture connected all six ports.
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

}  // namespace
