// Host times of scans from the sensor's stamps and their arrival times.
#include <gtest/gtest.h>

#include <vector>

#include "tools/scip/SensorClock.h"

TEST(SensorClock, KeepsTheSensorsSpacingThroughJitterAndWrapAround) {
  SensorClock clock;
  // Scans every 100 ms, the first at the top of the timer; delivery takes
  // 5 ms plus up to 30 ms of jitter.
  const int jitter[] = {0, 30, 2, 17, 0, 25, 9, 0, 30, 1};
  uint32_t stamp = SensorClock::kStampRange - 250;
  std::vector<double> times;
  for (int k = 0; k < 10; ++k) {
    times.push_back(clock.hostTime(stamp, 1000.0 + 100.0 * k + 5 + jitter[k]));
    stamp = (stamp + 100) % SensorClock::kStampRange;
  }
  for (int k = 1; k < 10; ++k) EXPECT_NEAR(100.0, times[k] - times[k - 1], 0.1) << k;
  EXPECT_TRUE(clock.sensorMs() == 900 && clock.restarts() == 0);
}

TEST(SensorClock, FollowsFasterDeliveryDriftAndJumps) {
  SensorClock::Limits limits;
  limits.maxLagMs = 50;
  SensorClock clock(limits);
  EXPECT_DOUBLE_EQ(1040.0, clock.hostTime(0, 1040.0));
  // A faster delivery: the scan was measured earlier than thought, but
  // times do not go back.
  EXPECT_DOUBLE_EQ(1040.0, clock.hostTime(10, 1015.0));
  EXPECT_DOUBLE_EQ(1105.0, clock.hostTime(100, 1105.0));
  // A host clock step forward: at most maxLag behind arrival.
  EXPECT_DOUBLE_EQ(5950.0, clock.hostTime(200, 6000.0));
  // A sensor timer reset starts over.
  EXPECT_DOUBLE_EQ(6100.0, clock.hostTime(3, 6100.0));
  EXPECT_EQ(1, clock.restarts());
  // A sensor clock running 0.1 % slow does not leave the host time behind.
  double host = 6100.0;
  uint32_t stamp = 3;
  for (int k = 0; k < 1000; ++k) {
    stamp += 100;
    host += 100.1;
    const double time = clock.hostTime(stamp, host);
    ASSERT_TRUE(time <= host && time >= host - limits.maxLagMs) << k << ": " << time << " for " << host;
  }
}
