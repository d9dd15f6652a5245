// VV and PP replies as an URG-04LX sends them.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
                    "FIRM:3.1.00(18/Jan./2007);`\nPROT:SCIP 2.0;N\nSERI:H0614967;V\n\n", info, error)) << error;
  ASSERT_TRUE(parse("PP\n00P\nMODL:URG-04LX(Hokuyo Automatic Co.,Ltd.);N\nDMIN:20;4\nDMAX:5600;_\n"
                    "ARES:1024;\\\nAMIN:44;7\nAMAX:725;o\nAFRT:384;6\nSCAN:600;e\n\n", info, error)) << error;
  EXPECT_EQ(std::tie(info.vendor, info.product, info.firmware, info.protocol, info.serial, info.model),
            std::make_tuple("Hokuyo Automatic Co.,Ltd.", "SOKUIKI Sensor URG-04LX", "3.1.00(18/Jan./2007)", "SCIP 2.0",
                            "H0614967", "URG-04LX(Hokuyo Automatic Co.,Ltd.)"));
  EXPECT_EQ(std::tie(info.minRange, info.maxRange, info.totalSteps, info.firstStep, info.lastStep, info.frontStep,
                     info.rpm), std::make_tuple(20, 5600, 1024, 44, 725, 384, 600));
  EXPECT_TRUE(info.geometryValid());
  EXPECT_DOUBLE_EQ(100.0, info.scanPeriodMs());
  EXPECT_NEAR(-119.53, info.angleOfStep(info.firstStep) * 180 / 3.14159265358979, 0.01);
  EXPECT_NEAR(119.88, info.angleOfStep(info.lastStep) * 180 / 3.14159265358979, 0.01);
  info.frontStep = 30;
  EXPECT_FALSE(info.geometryValid());
}

TEST(SensorInfo, RefusesBadRepliesAndNumbers) {
  const char* cases[][2] = {{"PP\n0Ee\n\n", ""}, {"PP\n00P\nDMIN:20;5\n\n", "checksum"}, {"PP\n00P\nDMIN:2x;<\n\n", "DMIN"}};
  for (const auto& c : cases) {
    SensorInfo info;
    std::string error;
    EXPECT_FALSE(parse(c[0], info, error)) << c[0];
    EXPECT_NE(std::string::npos, error.find(c[1])) << c[0] << ": " << error;
  }
}
