// A fresh Strolvex component per test, wired to a port probe on all six
// ports and active, in the test program's manager.
#ifndef STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H
#define STROLVEX_COMPONENT_TESTS_COMPONENTHARNESS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/StrolvexProfile.h"
#include "component/tests/PortProbe.h"
#include "component/tests/StrolvexProbe.h"
#include "component/tests/TestRuntime.h"

inline std::vector<double> uniformScan(double range, std::size_t length = 726) {
  return std::vector<double>(length, range);
}

// Strolvex components of the test program are StrolvexProbes.
inline void registerStrolvexProbe() {
  static const bool registered = [] {
    testrt::registerType<StrolvexProbe>(kStrolvexProfile);
    const char* portProbeProfile[] = {"implementation_id", "PortProbe", "type_name", "PortProbe",
                                      "category", "Test", ""};
    testrt::registerType<PortProbe>(portProbeProfile);
    return true;
  }();
  (void)registered;
}

class StrolvexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerStrolvexProbe();
    probe = static_cast<StrolvexProbe*>(testrt::create("Strolvex"));
    ports = static_cast<PortProbe*>(testrt::create("PortProbe"));
    ASSERT_TRUE(probe != nullptr && ports != nullptr);
    ASSERT_TRUE(testrt::connect(ports, "scan", probe, "range_data"));
    for (const char* output : kStrolvexOutputs) {
      ASSERT_TRUE(testrt::connect(probe, output, ports, output)) << output;
    }
    ASSERT_EQ(activate(), RTC::ACTIVE_STATE);
  }
  void TearDown() override {
    testrt::destroy(probe);
    testrt::destroy(ports);
  }

  void tick() { testrt::tick(probe); }
  RTC::LifeCycleState activate() { return testrt::activate(probe); }
  RTC::LifeCycleState deactivate() { return testrt::deactivate(probe); }
  RTC::LifeCycleState reset() { return testrt::reset(probe); }
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
