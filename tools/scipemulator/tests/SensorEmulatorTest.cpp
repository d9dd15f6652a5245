// The emulated sensor, read back through the library a driver uses.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipScan.h"
#include "tools/scip/SensorInfo.h"
#include "tools/scipemulator/SensorEmulator.h"

namespace {

std::vector<ScanRecord> smallLog(int count) {
  std::vector<ScanRecord> log;
  for (int k = 0; k < count; ++k) {
    ScanRecord scan;
    scan.t_ms = 5000 + 100 * k;
    for (int s = 0; s < 726; ++s) scan.ranges.push_back(1000 + s + k);
    log.push_back(scan);
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
  std::vector<ScipReply> replies;
  ScipReply reply;
  while (reader.next(reply)) replies.push_back(reply);
  return replies;
}

}  // namespace

TEST(SensorEmulator, AnswersEachCommandWithTheSensorsStatus) {
  SensorEmulator sensor(model("URG-04LX"), smallLog(1), EmulatorSettings());
  sensor.connect(0);
  const struct {
    const char* command;
    const char* status;
  } cases[] = {{"SCIP2.0", "0E"}, {"BM", "00"},     {"BM", "02"},          {"QT", "00"},
               {"GD0044072501", "10"}, {"XX", "0E"}, {"VVV", "0D"},    {"MD004407250100", "0C"},
               {"MD00440725010000", "0D"}, {"MD0x44072501000", "01"}, {"MD0044072601000", "04"},
               {"MD0100005001000", "05"}, {"MD0044072501x00", "06"}, {"TM1", "04"}, {"TM0", "00"},
               {"TM0", "02"}, {"BM", "0E"}, {"TM2", "00"}, {"TM2", "03"}, {"RS;tag", "00"}};
  for (const auto& c : cases) {
    const std::vector<ScipReply> replies = exchange(sensor, std::string(c.command) + "\r\n", 10);
    ASSERT_EQ(1u, replies.size()) << c.command;
    EXPECT_EQ(c.command, replies[0].echo);
    EXPECT_EQ(c.status, replies[0].status) << c.command;
    EXPECT_TRUE(replies[0].ok()) << c.command;
  }
}

TEST(SensorEmulator, ReportsTheChosenModelsGeometry) {
  for (const char* name : {"URG-04LX", "UTM-30LX"}) {
    const ScipModel chosen = model(name);
    SensorEmulator sensor(chosen, smallLog(1), EmulatorSettings());
    sensor.connect(0);
    SensorInfo info;
    std::string error;
    for (const ScipReply& reply : exchange(sensor, "VV\nPP\n", 0))
      ASSERT_TRUE(parseSensorInfo(reply, info, error)) << error;
    EXPECT_EQ("SCIP 2.0", info.protocol);
    EXPECT_EQ(chosen.modelText, info.model);
    EXPECT_EQ(chosen.minRange, info.minRange);
    EXPECT_EQ(chosen.maxRange, info.maxRange);
    EXPECT_EQ(chosen.totalSteps, info.totalSteps);
    EXPECT_EQ(chosen.firstStep, info.firstStep);
    EXPECT_EQ(chosen.lastStep, info.lastStep);
    EXPECT_EQ(chosen.frontStep, info.frontStep);
    EXPECT_EQ(chosen.rpm, info.rpm);
  }
}

TEST(SensorEmulator, StreamsTheLogAtItsPaceWithNoEchoCoded) {
  std::vector<ScanRecord> log = smallLog(3);
  log[1].ranges[44] = std::numeric_limits<double>::quiet_NaN();
  log[1].ranges[45] = 5601;
  log[1].ranges[46] = 19.4;
  log[1].ranges[47] = 2.6;  // the cluster's nearest echo is the other step
  EmulatorSettings settings;
  settings.rate = 2;
  SensorEmulator sensor(model("URG-04LX"), log, settings);
  sensor.connect(1000);
  ScipScanRequest request;
  request.scans = 5;
  request.cluster = 2;
  ASSERT_EQ(1u, exchange(sensor, scipScanCommand(request), 1000).size());
  EXPECT_EQ(1050, sensor.nextDueMs());
  const std::vector<ScipReply> frames = exchange(sensor, "", 1200);
  ASSERT_EQ(3u, frames.size());
  EXPECT_EQ(-1, sensor.nextDueMs());
  for (int k = 0; k < 3; ++k) {
    ScipScan scan;
    std::string error;
    ASSERT_TRUE(decodeScan(frames[k], request, scan, error)) << error;
    EXPECT_EQ(static_cast<uint32_t>(50 + 50 * k), scan.stamp);
    EXPECT_EQ(4 - k, scan.remaining);
    ASSERT_EQ(341u, scan.values.size());
    EXPECT_EQ(static_cast<uint32_t>(1000 + 724 + k), scan.values.back());
    if (k == 1) {
      EXPECT_EQ(0u, scan.values[0]);
      EXPECT_EQ(0u, scan.values[1]);
      EXPECT_EQ(1049u, scan.values[2]);
    }
  }
}

TEST(SensorEmulator, InjectsTheFaultsAskedFor) {
  EmulatorSettings settings;
  settings.loop = true;
  settings.badChecksumEvery = 3;
  settings.garbageEvery = 4;
  SensorEmulator faulty(model("URG-04LX"), smallLog(2), settings);
  faulty.connect(0);
  std::vector<ScipReply> replies = exchange(faulty, "MD0044072501000\n", 0);
  // The cut eighth scan shows as such once the ninth follows it.
  replies = exchange(faulty, "", 950);
  ASSERT_EQ(9u, replies.size());
  const ScipReply::Problem expected[] = {ScipReply::kNone,     ScipReply::kNone,    ScipReply::kChecksum,
                                         ScipReply::kGarbled,  ScipReply::kNone,    ScipReply::kChecksum,
                                         ScipReply::kNone,     ScipReply::kTruncated};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(expected[k], replies[k].problem) << k << ": " << replies[k].detail;

  settings = EmulatorSettings();
  settings.errorStatusAfter = 1;
  settings.silenceAfter = 2;
  SensorEmulator sensor(model("URG-04LX"), smallLog(9), settings);
  sensor.connect(0);
  exchange(sensor, "MD0044072501000\n", 0);
  replies = exchange(sensor, "", 300);
  ASSERT_EQ(2u, replies.size());
  EXPECT_EQ("99", replies[0].status);
  EXPECT_EQ(SensorEmulator::kErrorStatus, replies[1].status);
  EXPECT_EQ(SensorEmulator::kErrorStatus, exchange(sensor, "MD0044072501000\n", 300).at(0).status);
  replies = exchange(sensor, "RS\nMD0044072501000\n", 300);
  ASSERT_EQ(2u, replies.size());
  EXPECT_EQ("00", replies[1].status);
  EXPECT_EQ(1u, exchange(sensor, "", 600).size());
  EXPECT_TRUE(exchange(sensor, "VV\n", 900).empty());
  EXPECT_FALSE(sensor.dropWanted());

  sensor.connect(1000);
  exchange(sensor, "MD0044072501000\n", 1000);
  EXPECT_EQ(2u, exchange(sensor, "", 1300).size());
  EXPECT_TRUE(exchange(sensor, "", 1500).empty());
  sensor.connect(2000);
  exchange(sensor, "MD0044072501000\n", 2000);
  EXPECT_EQ(2u, exchange(sensor, "", 2200).size());
  EXPECT_EQ(6, sensor.scansSent());

  settings = EmulatorSettings();
  settings.dropAfter = 2;
  SensorEmulator dropping(model("URG-04LX"), smallLog(9), settings);
  for (int64_t start : {0, 1000}) {
    dropping.connect(start);
    exchange(dropping, "MD0044072501000\n", start);
    EXPECT_EQ(1u, exchange(dropping, "", start + 100).size());
    EXPECT_FALSE(dropping.dropWanted());
    EXPECT_EQ(1u, exchange(dropping, "", start + 900).size());
    EXPECT_TRUE(dropping.dropWanted());
  }
}
