#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "component/ShortScanWarning.h"
#include "component/tests/ComponentHarness.h"

namespace {

using testrt::LogTail;
using testrt::occurrences;

using ScanAdmission = StrolvexTest;

TEST_F(ScanAdmission, AShortOrEmptyScanIsIgnoredAsAWhole) {
  ports->sendScan(uniformScan(3000.0));
  tick();
  ports->drain();

  const LogTail tail;
  for (std::size_t length : {0u, 725u, 10u}) {
    ports->sendScan(uniformScan(1500.0, length));
    tick();
  }
  const std::string log = tail.text();
  EXPECT_EQ(state(), RTC::ACTIVE_STATE);
  EXPECT_FALSE(ports->drain());
  EXPECT_EQ(probe->m_scanWork->range[300], 3000.0);
  EXPECT_EQ(occurrences(log, "scan ignored: 0 ranges received, 726 needed"), 1);
  EXPECT_EQ(occurrences(log, "ranges received"), 1);  // the others are within the quiet period

  ports->sendScan(uniformScan(1500.0, 726));  // LRFdata_max + 1 readings are enough
  tick();
  EXPECT_EQ(ports->take(PortProbe::kCount).size(), 3u);
  EXPECT_EQ(probe->m_scanWork->range[300], 1500.0);
}

// Published positions of a busy slot stay near the area; a free slot's are 100000.
void expectPlausibleOutputs(PortProbe& ports, std::size_t slots) {
  for (int output = PortProbe::kX; output <= PortProbe::kY; ++output) {
    const std::vector<int32_t> values = ports.take(output);
    ASSERT_EQ(values.size(), slots) << output;
    for (int32_t v : values) EXPECT_TRUE(v == 100000 || std::abs(v) <= 20000) << v;
  }
  const std::vector<int32_t> count = ports.take(PortProbe::kCount);
  ASSERT_EQ(count.size(), 3u);
  for (int32_t c : count) EXPECT_GE(c, 0);
  ports.drain();
}

TEST_F(ScanAdmission, OversizedAndBadReadingScansThroughTheWholeCycle) {
  // Readings past LRFdata_max, even past LRF_Total_steps, are not looked at.
  for (std::size_t length : {1100u, 100000u}) {
    std::vector<double> scan = uniformScan(3000.0, length);
    for (std::size_t s = 726; s < length; ++s) scan[s] = s % 2 ? -1e300 : std::nan("");
    ports->sendScan(scan);
    tick();
    ASSERT_NO_FATAL_FAILURE(expectPlausibleOutputs(*ports, 6));
  }

  // NaN, +-inf, negative, zero and 1e300 readings amid people being tracked.
  bool tracked = false;
  for (int n = 0; n < 60; ++n) {
    ports->sendScan(busySceneScan(n));
    tick();
    ASSERT_NO_FATAL_FAILURE(expectPlausibleOutputs(*ports, 6));
    for (int i = 1; i <= 6; ++i) tracked = tracked || probe->m_tracks[i].track_id != 1;
  }
  EXPECT_TRUE(tracked);
  EXPECT_EQ(state(), RTC::ACTIVE_STATE);
  for (int s = 44; s <= 725; ++s) {
    ASSERT_TRUE(probe->m_scanWork->range[s] >= 0.0 && probe->m_scanWork->range[s] <= 4000.0) << s;
  }
}

TEST_F(ScanAdmission, UncheckedParametersTakeAnyValueAndUnparsableOnesTheirDefault) {
  // The parameters no range check guards: any value must process safely.
  const char* const unchecked[] = {"Environmental_maxdata", "LRFdata_mid", "Human_width",
                                   "Human_setdistance", "StrolvexData", "Count_area_distance"};
  const char* const extremes[] = {"-2147483648", "-1", "0", "2147483647"};
  coil::Properties defaults(kStrolvexProfile);
  for (const char* name : unchecked) {
    for (const char* value : extremes) {
      SCOPED_TRACE(std::string(name) + "=" + value);
      ASSERT_EQ(deactivate(), RTC::INACTIVE_STATE);
      testrt::setParameter(probe, name, value);
      ASSERT_EQ(activate(), RTC::ACTIVE_STATE);
      for (int n = 0; n < 15; ++n) {
        ports->sendScan(busySceneScan(n));
        tick();
        ASSERT_EQ(ports->take(PortProbe::kCount).size(), 3u);
        ports->drain();
      }
      EXPECT_EQ(state(), RTC::ACTIVE_STATE);
      testrt::setParameter(probe, name, defaults.getProperty(std::string("conf.default.") + name));
    }
  }
  // Text that is no number, or too big for the parameter, gives the default.
  for (const char* text : {"abc", "x6", "99999999999", ""}) {
    SCOPED_TRACE(text);
    setParameter("Human_NUM", text);
    EXPECT_EQ(probe->m_Human_NUM, 6);
    setParameter("Human_NUM", "4");
    ASSERT_EQ(probe->m_Human_NUM, 4);
  }
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
    const LogTail tail;
    setParameter(c[0], c[1]);
    for (int scan = 0; scan < 2; ++scan) {
      ports->sendScan(uniformScan(3000.0, 1100));
      tick();
    }
    // Once per distinct invalid configuration.
    EXPECT_EQ(occurrences(tail.text(), c[2]), 1);
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
    const LogTail tail;
    ports->sendScan(scan);
    tick();
    return occurrences(tail.text(), "expects millimetres");
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
  ASSERT_EQ(deactivate(), RTC::INACTIVE_STATE);
  ASSERT_EQ(activate(), RTC::ACTIVE_STATE);
  EXPECT_EQ(warnings(metres), 1);
}

}  // namespace
