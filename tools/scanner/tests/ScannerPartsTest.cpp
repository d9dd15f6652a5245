// The scanner component's pieces that need no sensor: the step range
// check, the Strolvex parameters for another model, the published ranges
// and time stamp, and the throttling of repeated log lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/scanner/LogThrottle.h"
#include "tools/scanner/ScanToRangeData.h"
#include "tools/scanner/ScannerSettings.h"
#include "tools/scanner/SensorReport.h"

namespace {

// Vendor, product, firmware, protocol, serial, model, then PP's numbers.
const SensorInfo kUrg04lx = {"", "", "", "", "", "M", 20, 5600, 1024, 44, 725, 384, 600};

}  // namespace

TEST(ScannerSettings, StepRangeDefaultsToTheSensorsAndRefusesStepsItLacks) {
  const struct {
    int first, last;
    bool ok;
    int expectFirst, expectLast;
  } cases[] = {{-1, -1, true, 44, 725}, {-1, 600, true, 44, 600}, {100, -1, true, 100, 725},
                        {300, 300, true, 300, 300}, {43, 725, false, 0, 0}, {44, 726, false, 0, 0},
                        {500, 400, false, 0, 0}, {-1, 40, false, 0, 0}};
  for (const auto& c : cases) {
    const ScannerSettings settings = {"/dev/ttyACM0", 115200, c.first, c.last, 1000};
    int first = -7, last = -7;
    std::string problem;
    ASSERT_EQ(settings.stepRange(kUrg04lx, first, last, problem), c.ok) << c.first << ".." << c.last;
    EXPECT_TRUE(c.ok ? first == c.expectFirst && last == c.expectLast : problem.find("own 44..725") != std::string::npos)
        << first << ".." << last << ": " << problem;
  }
}

TEST(ScannerSettings, ValuesNoSensorCouldTakeAreRefused) {
  const struct {
    const char* device;
    int baud, timeoutMs;
    bool ok;
  } cases[] = {{"/dev/ttyACM0", 115200, 1000, true}, {"tcp:192.168.0.10:65535", 115200, 1, true},
                     {"", 115200, 1000, false},            {"tcp:192.168.0.10:65536", 115200, 1000, false},
                     {"/dev/ttyACM0", 0, 1000, false},     {"/dev/ttyACM0", 115200, 0, false}};
  for (const auto& c : cases) {
    const ScannerSettings settings = {c.device, c.baud, -1, -1, c.timeoutMs};
    std::string problem;
    EXPECT_EQ(settings.valid(problem), c.ok) << c.device << " " << c.baud << " " << c.timeoutMs << ": " << problem;
  }
}

TEST(SensorReport, ParametersForAnotherModelKeepNineStepsBelowTheFirst) {
  const std::string prefix = "Category.Strolvex.conf.default.";
  EXPECT_EQ(strolvexParameterLines({"", "", "", "", "", "M", 23, 60000, 1440, 0, 1080, 540, 2400}, 0, 1080),
            (std::vector<std::string>{prefix + "LRF_Total_steps: 1440", prefix + "LRFdata_theta: 360",
                                      prefix + "LRFdata_mid: 540", prefix + "LRFdata_min: 9",
                                      prefix + "LRFdata_max: 1080"}));
}

TEST(ScanToRangeData, ErrorCodesAndUnmeasuredStepsAreNoEchoAndTheStampCarriesIntoSeconds) {
  const ScipScanRequest request = {true, 3, 100, 104, 1, 0, 0, ""};
  const ScipScan scan = {0, {7, 20, 5600, 5601, 1234}, 0};  // an error code, the limits, one past, a reading
  RTC::RangeData data;
  std::vector<double> work;
  fillScan(scan, request, kUrg04lx, 1700000000123.456, work, data);
  ASSERT_EQ(data.ranges.length(), 726u);
  for (CORBA::ULong s = 0; s < data.ranges.length(); ++s)
    ASSERT_EQ(data.ranges[s], s == 101 ? 20 : s == 102 ? 5600 : s == 104 ? 1234 : 0) << "step " << s;
  EXPECT_EQ(data.tm.sec, 1700000000u);
  EXPECT_NEAR(data.tm.nsec, 123456000u, 1000);
  fillScan(scan, request, kUrg04lx, 5999.9999999999, work, data);
  EXPECT_TRUE(data.tm.sec == 6u && data.tm.nsec == 0u) << data.tm.sec << " s " << data.tm.nsec << " ns";
}

TEST(LogThrottle, RepeatsWithinTheQuietPeriodAreCountedIntoTheNextLine) {
  LogThrottle throttle(std::chrono::seconds(10));
  const LogThrottle::Clock::time_point t0;
  long heldBack = -1;
  EXPECT_TRUE(throttle.allow("open", t0, heldBack) && heldBack == 0);
  EXPECT_TRUE(throttle.allow("lost", t0, heldBack));  // another kind is not held up
  for (int k = 1; k <= 9; ++k) EXPECT_FALSE(throttle.allow("open", t0 + std::chrono::seconds(k), heldBack));
  EXPECT_TRUE(throttle.allow("open", t0 + std::chrono::seconds(10), heldBack));
  EXPECT_EQ(heldBack, 9);
  throttle.clear("open");
  EXPECT_TRUE(throttle.allow("open", t0 + std::chrono::seconds(11), heldBack) && heldBack == 0);
}
