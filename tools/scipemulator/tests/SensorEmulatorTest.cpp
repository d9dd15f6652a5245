// The emulated sensor, read back through the library a driver uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipScan.h"
#include "tools/scipemulator/SensorEmulator.h"

namespace {

std::vector<ScanRecord> smallLog(int count) {
  std::vector<ScanRecord> log(count);
  for (int k = 0; k < count; ++k) {
    log[k].t_ms = 5000 + 100 * k;
    for (int s = 0; s < 726; ++s) log[k].ranges.push_back(1000 + s + k);
  }
  return log;
}

ScipModel model(const char* name) {
  ScipModel found;
  EXPECT_TRUE(findScipModel(name, found));
  return found;
}

// Sends commands at nowMs and reads all replies the sensor has by then.
std::vector<ScipReply> exchange(SensorEmulator& sensor, const std::string& commands, int64_t nowMs) {
  sensor.receive(commands.data(), commands.size(), nowMs);
  sensor.advance(nowMs);
  ScipReplyReader reader;
  reader.feed(sensor.takeOutput());
  std::vector<ScipReply> replies(1);
  while (reader.next(replies.back())) replies.emplace_back();
  replies.pop_back();
  return replies;
}

}  // namespace

TEST(SensorEmulator, StreamsTheLogAtItsPaceWithNoEchoCoded) {
  std::vector<ScanRecord> log = smallLog(3);
  // No echo, out of range both ways; the cluster's nearest echo is the other step.
  const double odd[] = {std::numeric_limits<double>::quiet_NaN(), 5601, 19.4, 2.6};
  std::copy(odd, odd + 4, log[1].ranges.begin() + 44);
  SensorEmulator sensor(model("URG-04LX"), log, EmulatorSettings{2.0, false, 0, 0, 0, 0, 0});
  sensor.connect(1000);
  const ScipScanRequest request = {true, 3, 44, 725, 2, 0, 5, ""};
  ASSERT_EQ(1u, exchange(sensor, scipScanCommand(request), 1000).size());
  EXPECT_EQ(1050, sensor.nextDueMs());
  const std::vector<ScipReply> frames = exchange(sensor, "", 1200);
  ASSERT_EQ(3u, frames.size());
  EXPECT_EQ(-1, sensor.nextDueMs());
  for (int k = 0; k < 3; ++k) {
    ScipScan scan;
    std::string error;
    ASSERT_TRUE(decodeScan(frames[k], request, scan, error)) << error;
    EXPECT_TRUE(scan.stamp == 50u + 50 * k && scan.remaining == 4 - k) << scan.stamp << " " << scan.remaining;
    ASSERT_EQ(341u, scan.values.size());
    EXPECT_EQ(static_cast<uint32_t>(1000 + 724 + k), scan.values.back());
    EXPECT_TRUE(k != 1 || (scan.values[0] == 0 && scan.values[1] == 0 && scan.values[2] == 1049)) << scan.values[2];
  }
}
