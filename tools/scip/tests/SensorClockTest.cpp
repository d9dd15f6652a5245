// Host times of scans from the sensor's stamps and their arrival times.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/scip/SensorClock.h"

TEST(SensorClock, KeepsTheSensorsSpacingThroughJitterAndWrapAround) {
  SensorClock clock;
  // Scans every 100 ms, the first at the top of the timer; delivery takes
  // 5 ms plus up to 30 ms of jitter.
  const int jitter[] = {0, 30, 2, 17, 0, 25, 9, 0, 30, 1};
  double before = 0;
  for (int k = 0; k < 10; ++k) {
    const double time = clock.hostTime((SensorClock::kStampRange - 250 + 100 * k) % SensorClock::kStampRange,
                                       1000.0 + 100.0 * k + 5 + jitter[k]);
    EXPECT_TRUE(k == 0 || std::abs(time - before - 100) < 0.1) << k << ": " << time - before;
    before = time;
  }
  EXPECT_TRUE(clock.sensorMs() == 900 && clock.restarts() == 0);
}

TEST(SensorClock, FollowsFasterDeliveryDriftAndJumps) {
  SensorClock::Limits limits;
  limits.maxLagMs = 50;
  SensorClock clock(limits);
  // A faster delivery (measured earlier than thought, but times do not go
  // back), a host clock step forward (at most maxLag behind arrival), a
  // sensor timer reset (starts over).
  const double stamps[][3] = {{0, 1040, 1040}, {10, 1015, 1040}, {100, 1105, 1105}, {200, 6000, 5950}, {3, 6100, 6100}};
  for (const auto& s : stamps) EXPECT_DOUBLE_EQ(s[2], clock.hostTime(static_cast<uint32_t>(s[0]), s[1])) << s[0];
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
