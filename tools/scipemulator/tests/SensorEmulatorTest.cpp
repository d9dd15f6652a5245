// The emulated sensor, read back through the library a driver uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipScan.h"
#include "tools/scip/SensorInfo.h"
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

TEST(SensorEmulator, AnswersEachCommandWithTheSensorsStatus) {
  SensorEmulator sensor(model("URG-04LX"), smallLog(1), EmulatorSettings());
  sensor.connect(0);
  const char* cases[][2] = {{"SCIP2.0", "0E"}, {"BM", "00"}, {"BM", "02"}, {"QT", "00"}, {"GD0044072501", "10"},
                            {"XX", "0E"}, {"VVV", "0D"}, {"MD004407250100", "0C"}, {"MD00440725010000", "0D"},
                            {"MD0x44072501000", "01"}, {"MD0044072601000", "04"}, {"MD0100005001000", "05"},
                            {"MD0044072501x00", "06"}, {"TM1", "04"}, {"TM0", "00"}, {"TM0", "02"}, {"BM", "0E"},
                            {"TM2", "00"}, {"TM2", "03"}, {"RS;tag", "00"}};
  for (const auto& c : cases) {
    const std::vector<ScipReply> replies = exchange(sensor, std::string(c[0]) + "\r\n", 10);
    ASSERT_EQ(1u, replies.size()) << c[0];
    EXPECT_TRUE(replies[0].echo == c[0] && replies[0].status == c[1] && replies[0].ok()) << c[0] << ": " << replies[0].status;
  }
}

TEST(SensorEmulator, ReportsTheChosenModelsGeometry) {
  for (const char* name : {"URG-04LX", "UTM-30LX"}) {
    const ScipModel m = model(name);
    SensorEmulator sensor(m, smallLog(1), EmulatorSettings());
    sensor.connect(0);
    SensorInfo info;
    std::string error;
    for (const ScipReply& reply : exchange(sensor, "VV\nPP\n", 0)) ASSERT_TRUE(parseSensorInfo(reply, info, error)) << error;
    EXPECT_EQ(std::tie(info.protocol, info.model), std::make_tuple("SCIP 2.0", m.modelText));
    EXPECT_EQ(std::tie(info.minRange, info.maxRange, info.totalSteps, info.firstStep, info.lastStep, info.frontStep, info.rpm),
              std::tie(m.minRange, m.maxRange, m.totalSteps, m.firstStep, m.lastStep, m.frontStep, m.rpm));
  }
}

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

// Which scans the damage hits; the faults of the link (drop, silence, error
// status) are checked end to end with ScipScanner.
TEST(SensorEmulator, InjectsTheFaultsAskedFor) {
  const EmulatorSettings settings = {1.0, true, 3, 4, 0, 0, 0};  // looped; bad sums every 3rd scan, garbage every 4th
  SensorEmulator faulty(model("URG-04LX"), smallLog(2), settings);
  faulty.connect(0);
  exchange(faulty, "MD0044072501000\n", 0);
  // The cut eighth scan shows as such once the ninth follows it.
  std::vector<ScipReply> replies = exchange(faulty, "", 950);
  ASSERT_EQ(9u, replies.size());
  const ScipReply::Problem N = ScipReply::kNone, C = ScipReply::kChecksum, expected[] = {
      N, N, C, ScipReply::kGarbled, N, C, N, ScipReply::kTruncated};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(expected[k], replies[k].problem) << k << ": " << replies[k].detail;
}
