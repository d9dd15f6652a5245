// VV and PP replies as an URG-04LX sends them.
#include <gtest/gtest.h>

#include <string>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/SensorInfo.h"

namespace {

bool parse(const std::string& bytes, SensorInfo& info, std::string& error) {
  ScipReplyReader reader;
  reader.feed(bytes);
  ScipReply reply;
  return reader.next(reply) && parseSensorInfo(reply, info, error);
}

}  // namespace

TEST(SensorInfo, ReadsCapturedVersionAndParameters) {
  SensorInfo info;
  std::string error;
  ASSERT_TRUE(parse("VV\n00P\nVEND:Hokuyo Automatic Co.,Ltd.;[\nPROD:SOKUIKI Sensor URG-04LX;[\n"
                    "FIRM:3.1.00(18/Jan./2007);`\nPROT:SCIP 2.0;N\nSERI:H0614967;V\n\n",
                    info, error))
      << error;
  ASSERT_TRUE(parse("PP\n00P\nMODL:URG-04LX(Hokuyo Automatic Co.,Ltd.);N\nDMIN:20;4\nDMAX:5600;_\n"
                    "ARES:1024;\\\nAMIN:44;7\nAMAX:725;o\nAFRT:384;6\nSCAN:600;e\n\n",
                    info, error))
      << error;
  EXPECT_EQ("Hokuyo Automatic Co.,Ltd.", info.vendor);
  EXPECT_EQ("SOKUIKI Sensor URG-04LX", info.product);
  EXPECT_EQ("3.1.00(18/Jan./2007)", info.firmware);
  EXPECT_EQ("SCIP 2.0", info.protocol);
  EXPECT_EQ("H0614967", info.serial);
  EXPECT_EQ("URG-04LX(Hokuyo Automatic Co.,Ltd.)", info.model);
  EXPECT_EQ(20, info.minRange);
  EXPECT_EQ(5600, info.maxRange);
  EXPECT_EQ(1024, info.totalSteps);
  EXPECT_EQ(44, info.firstStep);
  EXPECT_EQ(725, info.lastStep);
  EXPECT_EQ(384, info.frontStep);
  EXPECT_EQ(600, info.rpm);
  EXPECT_TRUE(info.geometryValid());
  EXPECT_DOUBLE_EQ(100.0, info.scanPeriodMs());
  EXPECT_NEAR(-119.53, info.angleOfStep(info.firstStep) * 180 / 3.14159265358979, 0.01);
  EXPECT_NEAR(119.88, info.angleOfStep(info.lastStep) * 180 / 3.14159265358979, 0.01);
}

TEST(SensorInfo, RefusesBadRepliesAndNumbers) {
  SensorInfo info;
  std::string error;
  EXPECT_FALSE(parse("PP\n0Ee\n\n", info, error));
  EXPECT_FALSE(parse("PP\n00P\nDMIN:20;5\n\n", info, error));
  EXPECT_NE(std::string::npos, error.find("checksum"));
  EXPECT_FALSE(parse("PP\n00P\nDMIN:2x;<\n\n", info, error));
  EXPECT_NE(std::string::npos, error.find("DMIN"));
  info.firstStep = 44;
  info.frontStep = 30;
  EXPECT_FALSE(info.geometryValid());
}
