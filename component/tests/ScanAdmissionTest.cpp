#include <gmock/gmock.h>

#include <limits>
#include <string>
#include <vector>

#include "component/StrolvexProfile.h"
#include "component/tests/ComponentHarness.h"

namespace {

using ::testing::HasSubstr;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

using ScanAdmission = ProbeFixture;

TEST_F(ScanAdmission, AScanShorterThanTheStepRangeIsIgnoredAsAWhole) {
  ports->sendScan(uniformScan(3000.0));
  tick();
  ports->drain();

  CaptureStderr();
  ports->sendScan(uniformScan(1500.0, 725));
  tick();
  ports->sendScan(uniformScan(1500.0, 10));
  tick();
  const std::string log = GetCapturedStderr();

  EXPECT_EQ(state(), RTC::ACTIVE_STATE);
  EXPECT_FALSE(ports->anyOutput());
  EXPECT_EQ(probe().m_scanWork->range[300], 3000.0);
  EXPECT_EQ(probe().m_scanWork->foreground[300], 0);
  EXPECT_THAT(log, HasSubstr("725 ranges received, 726 needed"));
  // The second one falls within the quiet period of the warning.
  EXPECT_EQ(occurrences(log, "ranges received"), 1);

  // Exactly LRFdata_max + 1 readings are enough.
  ports->sendScan(uniformScan(1500.0, 726));
  tick();
  EXPECT_TRUE(ports->takeCount().arrived);
  EXPECT_EQ(probe().m_scanWork->range[300], 1500.0);
}

TEST_F(ScanAdmission, InvalidConfigurationIgnoresScansUntilCorrected) {
  CaptureStderr();
  setParameter("Human_NUM", "11");
  ports->sendScan(uniformScan(3000.0));
  tick();
  ports->sendScan(uniformScan(3000.0));
  tick();
  EXPECT_FALSE(ports->anyOutput());
  EXPECT_EQ(probe().m_scanWork->background[300], 0.0);

  setParameter("LRFdata_max", "1091");
  ports->sendScan(uniformScan(3000.0, 1100));
  tick();
  EXPECT_FALSE(ports->anyOutput());
  const std::string log = GetCapturedStderr();
  // Once per distinct invalid configuration, naming value and allowed range.
  EXPECT_EQ(occurrences(log, "Human_NUM is 11, allowed 1..10"), 2);
  EXPECT_EQ(occurrences(log, "LRFdata_max is 1091"), 1);
  EXPECT_EQ(state(), RTC::ACTIVE_STATE);

  setParameter("Human_NUM", "6");
  setParameter("LRFdata_max", "725");
  ports->sendScan(uniformScan(3000.0));
  tick();
  EXPECT_EQ(ports->takeX().data.size(), 6u);
  EXPECT_EQ(probe().m_scanWork->background[300], 3000.0);
}

TEST_F(ScanAdmission, EachRangeRuleIsChecked) {
  struct Case {
    const char* name;
    const char* value;
    const char* complaint;
  };
  const Case cases[] = {
      {"Human_NUM", "0", "Human_NUM is 0, allowed 1..10"},
      {"LRFdata_min", "8", "LRFdata_min is 8, allowed 9..1090"},
      {"LRFdata_max", "43", "LRFdata_max is 43, allowed 44..1090"},
      {"LRF_Total_steps", "0", "LRF_Total_steps is 0, allowed above 0"},
      {"LRFdata_theta", "-360", "LRFdata_theta is -360, allowed above 0"},
  };
  coil::Properties defaults(kStrolvexProfile);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CaptureStderr();
    setParameter(c.name, c.value);
    ports->sendScan(uniformScan(3000.0));
    tick();
    EXPECT_THAT(GetCapturedStderr(), HasSubstr(c.complaint));
    EXPECT_FALSE(ports->anyOutput());
    setParameter(c.name, defaults.getProperty(std::string("conf.default.") + c.name));
  }
  ports->sendScan(uniformScan(3000.0));
  tick();
  EXPECT_TRUE(ports->takeCount().arrived);
}

TEST_F(ScanAdmission, ScansThatLookLikeMetresWarnOncePerActivation) {
  std::vector<double> metres = uniformScan(2.5);
  metres[100] = 0.0;
  metres[101] = std::numeric_limits<double>::quiet_NaN();
  CaptureStderr();
  ports->sendScan(metres);
  tick();
  ports->sendScan(metres);
  tick();
  std::string log = GetCapturedStderr();
  EXPECT_EQ(occurrences(log, "expects millimetres"), 1);
  // Still processed: millimetres stay the unit.
  EXPECT_EQ(probe().m_scanWork->background[300], 2.5);

  CaptureStderr();
  ports->sendScan(uniformScan(0.0));  // no echo anywhere: nothing to judge by
  tick();
  std::vector<double> mixed = uniformScan(2.5);
  mixed[400] = 100.0;  // one plausible millimetre reading clears the suspicion
  ports->sendScan(mixed);
  tick();
  EXPECT_EQ(deactivate(), RTC::RTC_OK);
  EXPECT_EQ(activate(), RTC::RTC_OK);
  ports->sendScan(metres);
  tick();
  log = GetCapturedStderr();
  EXPECT_EQ(occurrences(log, "expects millimetres"), 1);
}

}  // namespace
