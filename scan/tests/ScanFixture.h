// A Strolvex component outside any execution context, with a fresh tracking
// state and the default configuration, for driving the scan steps directly.
#ifndef STROLVEX_SCAN_TESTS_SCANFIXTURE_H
#define STROLVEX_SCAN_TESTS_SCANFIXTURE_H

#include <gtest/gtest.h>

#include <vector>

#include "component/tests/StrolvexProbe.h"

class ScanFixture : public ::testing::Test {
 protected:
  ScanFixture() : probe(&RTC::Manager::instance()) {
    probe.onInitialize();
    probe.initTrackingState();
  }

  static std::vector<double> uniformScan(double range) { return std::vector<double>(726, range); }
  void intake(const std::vector<double>& ranges) {
    probe.loadScan(ranges);
    probe.readScan();
  }
  ScanWork& work() { return *probe.m_scanWork; }

  StrolvexProbe probe;
};

#endif
