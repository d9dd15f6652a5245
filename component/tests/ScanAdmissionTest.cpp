#include <limits>
#include <string>
#include <vector>

#include "component/ShortScanWarning.h"
#include "component/tests/ComponentHarness.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

using ScanAdmission = StrolvexTest;

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
  EXPECT_FALSE(ports->drain());
  EXPECT_EQ(probe->m_scanWork->range[300], 3000.0);
  EXPECT_EQ(occurrences(log, "725 ranges received, 726 needed"), 1);
  EXPECT_EQ(occurrences(log, "ranges received"), 1);  // the second is within the quiet period

  ports->sendScan(uniformScan(1500.0, 726));  // LRFdata_max + 1 readings are enough
  tick();
  EXPECT_EQ(ports->take(PortProbe::kCount).size(), 3u);
  EXPECT_EQ(probe->m_scanWork->range[300], 1500.0);
}

TEST(ShortScanWarning, WarnsAtMostEveryTenSecondsWithTheCountAcrossTheClockWrap) {
  ShortScanWarning warning;
  EXPECT_EQ(warning.noteIgnoredScan(5000), 1);
  EXPECT_EQ(warning.noteIgnoredScan(14999), 0);
  EXPECT_EQ(warning.noteIgnoredScan(15000), 2);  // the silent one and this one
  EXPECT_EQ(warning.noteIgnoredScan(2147483647 - 2000), 1);
  EXPECT_EQ(warning.noteIgnoredScan(-2147483647 - 1 + 5000), 0);  // 7 s later
  EXPECT_EQ(warning.noteIgnoredScan(-2147483647 - 1 + 8000), 2);  // 10 s later
}

TEST_F(ScanAdmission, InvalidConfigurationIgnoresScansUntilCorrected) {
  // Parameter, invalid value, the complaint expected.
  const char* const cases[][3] = {
      {"Human_NUM", "11", "Human_NUM is 11, allowed 1..10"},
      {"LRFdata_min", "8", "LRFdata_min is 8, allowed 9..1090"},
      {"LRFdata_max", "43", "LRFdata_max is 43, allowed 44..1090"},
      {"LRFdata_max", "1091", "LRFdata_max is 1091, allowed 44..1090"},
      {"LRF_Total_steps", "0", "LRF_Total_steps is 0, allowed above 0"},
      {"LRFdata_theta", "-360", "LRFdata_theta is -360, allowed above 0"},
  };
  coil::Properties defaults(kStrolvexProfile);
  for (const auto& c : cases) {
    SCOPED_TRACE(c[2]);
    CaptureStderr();
    setParameter(c[0], c[1]);
    for (int scan = 0; scan < 2; ++scan) {
      ports->sendScan(uniformScan(3000.0, 1100));
      tick();
    }
    // Once per distinct invalid configuration.
    EXPECT_EQ(occurrences(GetCapturedStderr(), c[2]), 1);
    EXPECT_FALSE(ports->drain());
    EXPECT_EQ(probe->m_scanWork->background[300], 0.0);
    EXPECT_EQ(state(), RTC::ACTIVE_STATE);
    setParameter(c[0], defaults.getProperty(std::string("conf.default.") + c[0]));
  }
  ports->sendScan(uniformScan(3000.0));
  tick();
  EXPECT_EQ(ports->take(PortProbe::kX).size(), 6u);
  EXPECT_EQ(probe->m_scanWork->background[300], 3000.0);
}

TEST_F(ScanAdmission, ScansThatLookLikeMetresWarnOncePerActivation) {
  const auto warnings = [this](const std::vector<double>& scan) {
    CaptureStderr();
    ports->sendScan(scan);
    tick();
    return occurrences(GetCapturedStderr(), "expects millimetres");
  };
  std::vector<double> metres = uniformScan(2.5);
  metres[100] = 0.0;
  metres[101] = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> mixed = metres;
  mixed[400] = 100.0;  // one plausible millimetre reading clears the suspicion
  EXPECT_EQ(warnings(mixed), 0);
  EXPECT_EQ(warnings(metres), 1);
  EXPECT_EQ(warnings(metres), 0);
  EXPECT_EQ(probe->m_scanWork->background[300], 2.5);  // still processed in millimetres
  ASSERT_EQ(deactivate(), RTC::RTC_OK);
  ASSERT_EQ(activate(), RTC::RTC_OK);
  EXPECT_EQ(warnings(metres), 1);
}

}  // namespace
