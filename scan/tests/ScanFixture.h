// A Strolvex component with the default configuration and a fresh tracking
// state, not activated, for driving the scan steps directly.
#ifndef STROLVEX_SCAN_TESTS_SCANFIXTURE_H
#define STROLVEX_SCAN_TESTS_SCANFIXTURE_H

#include "component/tests/ComponentHarness.h"

class ScanFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    registerStrolvexProbe();
    probe = static_cast<StrolvexProbe*>(testrt::create("Strolvex"));
    ASSERT_NE(probe, nullptr);
    ASSERT_TRUE(probe->initTrackingState());
  }
  void TearDown() override { testrt::destroy(probe); }
  void intake(const std::vector<double>& ranges) {
    probe->loadScan(ranges);
    probe->readScan();
  }
  ScanWork& work() { return *probe->m_scanWork; }
  StrolvexProbe* probe = nullptr;
};

#endif
