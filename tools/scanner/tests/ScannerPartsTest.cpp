// The scanner component's pieces that need no sensor: device addresses,
// the step range check, the report of a sensor's geometry, the published
// RangeData and the throttling of repeated log lines.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/scanner/LinkAddress.h"
#include "tools/scanner/LogThrottle.h"
#include "tools/scanner/ScanToRangeData.h"
#include "tools/scanner/ScannerSettings.h"
#include "tools/scanner/SensorReport.h"

namespace {

const double kPi = 3.141592653589793;

SensorInfo urg04lx() {
  SensorInfo info;
  info.model = "URG-04LX";
  info.protocol = "SCIP 2.0";
  info.minRange = 20;
  info.maxRange = 5600;
  info.totalSteps = 1024;
  info.firstStep = 44;
  info.lastStep = 725;
  info.frontStep = 384;
  info.rpm = 600;
  return info;
}

SensorInfo utm30lx() {
  SensorInfo info = urg04lx();
  info.model = "UTM-30LX";
  info.minRange = 23;
  info.maxRange = 60000;
  info.totalSteps = 1440;
  info.firstStep = 0;
  info.lastStep = 1080;
  info.frontStep = 540;
  info.rpm = 2400;
  return info;
}

}  // namespace

TEST(ScannerSettings, DeviceAddressesAndTheirFaults) {
  struct Case {
    const char* device;
    bool ok;
    LinkAddress::Kind kind;
    const char* where;
    int port;
  };
  const Case cases[] = {
      {"/dev/ttyACM0", true, LinkAddress::Kind::Serial, "/dev/ttyACM0", 0},
      {"tcp:192.168.0.10:10940", true, LinkAddress::Kind::Tcp, "192.168.0.10", 10940},
      {"tcp:[::1]:65535", true, LinkAddress::Kind::Tcp, "::1", 65535},
      {"tcp:localhost:1", true, LinkAddress::Kind::Tcp, "localhost", 1},
      {"", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:host", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp::10940", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:host:", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:host:0", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:host:65536", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:host:10940x", false, LinkAddress::Kind::Serial, "", 0},
      {"tcp:host:-5", false, LinkAddress::Kind::Serial, "", 0},
  };
  for (const Case& c : cases) {
    LinkAddress address;
    std::string error;
    ASSERT_EQ(parseLinkAddress(c.device, address, error), c.ok) << c.device << ": " << error;
    ScannerSettings settings;
    settings.device = c.device;
    EXPECT_EQ(settings.valid(error), c.ok) << c.device;
    if (!c.ok) {
      EXPECT_FALSE(error.empty()) << c.device;
      continue;
    }
    EXPECT_EQ(address.kind, c.kind) << c.device;
    EXPECT_EQ(c.kind == LinkAddress::Kind::Tcp ? address.host : address.path, c.where) << c.device;
    EXPECT_EQ(address.port, c.port) << c.device;
  }
  ScannerSettings settings;
  std::string error;
  settings.timeoutMs = 0;
  EXPECT_FALSE(settings.valid(error));
  settings.timeoutMs = 1000;
  settings.baud = -9600;
  EXPECT_FALSE(settings.valid(error));
}

TEST(ScannerSettings, StepRangeDefaultsToTheSensorsAndRefusesStepsItLacks) {
  struct Case {
    int first, last;
    bool ok;
    int expectFirst, expectLast;
  };
  const Case cases[] = {
      {-1, -1, true, 44, 725},  {-1, 600, true, 44, 600}, {100, -1, true, 100, 725}, {44, 725, true, 44, 725},
      {300, 300, true, 300, 300}, {43, 725, false, 0, 0}, {44, 726, false, 0, 0},     {0, 1080, false, 0, 0},
      {500, 400, false, 0, 0},  {-1, 40, false, 0, 0},
  };
  for (const Case& c : cases) {
    ScannerSettings settings;
    settings.firstStep = c.first;
    settings.lastStep = c.last;
    int first = -7, last = -7;
    std::string problem;
    ASSERT_EQ(settings.stepRange(urg04lx(), first, last, problem), c.ok) << c.first << ".." << c.last;
    if (c.ok) {
      EXPECT_EQ(first, c.expectFirst);
      EXPECT_EQ(last, c.expectLast);
    } else {
      // The refusal names the sensor's own range.
      EXPECT_NE(problem.find("44..725"), std::string::npos) << problem;
    }
  }
}

TEST(SensorReport, StrolvexParametersFitTheSensorAndKeepNineStepsBelow) {
  EXPECT_EQ(strolvexParameterLines(urg04lx(), 44, 725),
            (std::vector<std::string>{"Category.Strolvex.conf.default.LRF_Total_steps: 1024",
                                      "Category.Strolvex.conf.default.LRFdata_theta: 360",
                                      "Category.Strolvex.conf.default.LRFdata_mid: 384",
                                      "Category.Strolvex.conf.default.LRFdata_min: 44",
                                      "Category.Strolvex.conf.default.LRFdata_max: 725"}));
  EXPECT_EQ(strolvexParameterLines(utm30lx(), 0, 1080),
            (std::vector<std::string>{"Category.Strolvex.conf.default.LRF_Total_steps: 1440",
                                      "Category.Strolvex.conf.default.LRFdata_theta: 360",
                                      "Category.Strolvex.conf.default.LRFdata_mid: 540",
                                      "Category.Strolvex.conf.default.LRFdata_min: 9",
                                      "Category.Strolvex.conf.default.LRFdata_max: 1080"}));
  const std::string described = describeSensor(utm30lx(), 100, 900);
  for (const char* part : {"UTM-30LX", "1440 steps", "0..1080", "540", "23..60000 mm", "40 scans/s", "100..900"})
    EXPECT_NE(described.find(part), std::string::npos) << part << " in " << described;
}

TEST(ScanToRangeData, RangesBySensorStepWithNoEchoAsZeroAndTheRangerInSiUnits) {
  const SensorInfo info = urg04lx();
  ScipScanRequest request;
  request.firstStep = 100;
  request.lastStep = 104;
  ScipScan scan;
  // An error code, the shortest and longest valid ranges, one past the
  // longest, and an ordinary reading.
  scan.values = {7, 20, 5600, 5601, 1234};
  RTC::RangeData data;
  std::vector<double> work;
  describeRanger(info, data);
  fillScan(scan, request, info, 1700000000123.456, work, data);

  ASSERT_EQ(data.ranges.length(), 726u);
  for (CORBA::ULong s = 0; s < data.ranges.length(); ++s) {
    const double expected = s == 101 ? 20 : s == 102 ? 5600 : s == 104 ? 1234 : 0;
    ASSERT_EQ(data.ranges[s], expected) << "step " << s;
  }
  EXPECT_EQ(data.tm.sec, 1700000000u);
  EXPECT_NEAR(data.tm.nsec, 123456000u, 1000);
  EXPECT_NEAR(data.config.minAngle, -0.75 * kPi, 1e-12);  // step 0, 135 degrees to the right
  EXPECT_NEAR(data.config.maxAngle, (725 - 384) * 2 * kPi / 1024, 1e-12);
  EXPECT_NEAR(data.config.angularRes, 2 * kPi / 1024, 1e-15);
  EXPECT_DOUBLE_EQ(data.config.minRange, 0.02);
  EXPECT_DOUBLE_EQ(data.config.maxRange, 5.6);
  EXPECT_DOUBLE_EQ(data.config.frequency, 10.0);

  // A time a hair below a whole second rounds up into it.
  fillScan(scan, request, info, 5999.9999999999, work, data);
  EXPECT_EQ(data.tm.sec, 6u);
  EXPECT_EQ(data.tm.nsec, 0u);
}

TEST(LogThrottle, RepeatsWithinTheQuietPeriodAreCountedIntoTheNextLine) {
  using Clock = LogThrottle::Clock;
  LogThrottle throttle(std::chrono::seconds(10));
  const Clock::time_point t0;
  long heldBack = -1;
  EXPECT_TRUE(throttle.allow("open", t0, heldBack));
  EXPECT_EQ(heldBack, 0);
  EXPECT_TRUE(throttle.allow("lost", t0, heldBack));  // another kind is not held up
  for (int k = 1; k <= 9; ++k) EXPECT_FALSE(throttle.allow("open", t0 + std::chrono::seconds(k), heldBack));
  EXPECT_TRUE(throttle.allow("open", t0 + std::chrono::seconds(10), heldBack));
  EXPECT_EQ(heldBack, 9);
  EXPECT_FALSE(throttle.allow("open", t0 + std::chrono::seconds(11), heldBack));
  throttle.clear("open");
  EXPECT_TRUE(throttle.allow("open", t0 + std::chrono::seconds(12), heldBack));
  EXPECT_EQ(heldBack, 0);
}
