// A fresh Strolvex component per test, wired to a port probe on all six
// ports and active, in the test program's manager; and the scans tests feed it.
#ifndef STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H
#define STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "component/StrolvexProfile.h"
#include "component/tests/PortProbe.h"
#include "component/tests/StrolvexProbe.h"
#include "component/tests/TestRuntime.h"

inline std::vector<double> uniformScan(double range, std::size_t length = 726) {
  return std::vector<double>(length, range);
}

// Scan n of a busy scene: three people walking across the start zone
// (within steps 111..678) in front of a wall, with every kind of bad
// reading mixed in, on people and on the wall.
inline std::vector<double> busySceneScan(int n) {
  std::vector<double> ranges(726, 3800.0);
  for (int person = 0; person < 3; ++person) {
    const int centre = 120 + person * 200 + (n * 3 + person * 70) % 150;
    for (int s = centre - 9; s <= centre + 9; ++s) ranges[static_cast<std::size_t>(s)] = 3300.0;
  }
  const double inf = std::numeric_limits<double>::infinity();
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -5.0, 0.0, 1e300};
  for (int k = 0; k < 6; ++k) {
    ranges[static_cast<std::size_t>(100 + 97 * k + n % 7)] = bad[k];
    ranges[static_cast<std::size_t>(60 + 113 * k + n % 11)] = bad[(k + n) % 6];
  }
  return ranges;
}

// Strolvex components of the test program are StrolvexProbes (a second
// registration is refused, and harmless).
inline void registerStrolvexProbe() {
  const char* portProbeProfile[] = {"implementation_id", "PortProbe", "type_name", "PortProbe", "category", "Test", ""};
  testrt::registerType<PortProbe>(portProbeProfile);
  testrt::registerType<StrolvexProbe>(kStrolvexProfile);
}

class StrolvexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerStrolvexProbe();
    probe = static_cast<StrolvexProbe*>(testrt::create("Strolvex"));
    ports = static_cast<PortProbe*>(testrt::create("PortProbe"));
    testrt::destroyAtTestEnd(probe);
    testrt::destroyAtTestEnd(ports);
    ASSERT_TRUE(probe != nullptr && ports != nullptr);
    ASSERT_TRUE(testrt::connect(ports, "scan", probe, "range_data"));
    for (const char* output : kStrolvexOutputs) ASSERT_TRUE(testrt::connect(probe, output, ports, output)) << output;
    ASSERT_EQ(activate(), RTC::ACTIVE_STATE);
  }

  void tick() { testrt::tick(probe); }
  RTC::LifeCycleState activate() { return testrt::activate(probe); }
  RTC::LifeCycleState deactivate() { return testrt::deactivate(probe); }
  RTC::LifeCycleState state() { return testrt::state(probe); }
  // Bound variables follow the "default" set after a cycle: an idle one will do.
  void setParameter(const char* name, const std::string& value) {
    testrt::setParameter(probe, name, value);
    tick();
  }

  StrolvexProbe* probe = nullptr;
  PortProbe* ports = nullptr;
};

#endif
