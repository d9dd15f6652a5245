// A recording played back gives the scans that were recorded: the same
// ranges, bit for bit, and the same time stamps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tools/player/ScanLogPlayer.h"
#include "tools/recorder/ScanRecorder.h"
#include "tools/recorder/tests/RangeProbe.h"

TEST(RecorderAndPlayer, PlaybackGivesBackWhatWasRecorded) {
  registerRangeProbe();
  ScanRecorderInit(&testrt::manager());
  ScanLogPlayerInit(&testrt::manager());
  const std::string path = "/tmp/strolvex-roundtrip-" + std::to_string(getpid()) + ".log";
  RTC::RTObject_impl* probe = testrt::create("RangeProbe");
  RTC::RTObject_impl* recorder = testrt::create("ScanRecorder?conf.default.file=" + path);
  RTC::RTObject_impl* player = testrt::create("ScanLogPlayer?conf.default.speed=0&conf.default.file=" + path);
  ASSERT_TRUE(probe != nullptr && recorder != nullptr && player != nullptr);
  for (RTC::RTObject_impl* comp : {probe, recorder, player}) testrt::destroyAtTestEnd(comp);
  ASSERT_TRUE(testrt::connect(probe, "send", recorder, "range_data"));
  ASSERT_TRUE(testrt::connect(player, "range_data", probe, "receive"));
  RangeProbe& scans = dynamic_cast<RangeProbe&>(*probe);
  const auto nowMs = [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  };

  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> recorded = {
      {3900, 0.1, 1.0 / 3.0, 1234.5, 0, -0.0, -5, std::nan(""), inf, -inf, 1e-300, 5e20, std::nextafter(3000.0, 4000.0)},
      {2000, 2001, 2002},
      {}};
  ASSERT_EQ(testrt::activate(recorder), RTC::ACTIVE_STATE);
  scans.send(12, 345000000, recorded[0]);
  const int64_t before = nowMs();
  scans.send(0, 0, recorded[1]);  // unstamped: recorded at its arrival
  testrt::tick(recorder);
  const int64_t after = nowMs();
  scans.send(13, 0, recorded[2]);
  testrt::tick(recorder);
  ASSERT_EQ(testrt::deactivate(recorder), RTC::INACTIVE_STATE);

  // One scan per cycle at speed 0, oldest first, then nothing once the log
  // is done. (Depending on the middleware, the activation's own cycle may
  // already send the first.)
  ASSERT_EQ(testrt::activate(player), RTC::ACTIVE_STATE);
  const int64_t earliest[] = {12345, before, 13000}, latest[] = {12345, after, 13000};
  for (std::size_t k = 0; k < recorded.size(); ++k) {
    testrt::tick(player);
    ASSERT_TRUE(scans.receivePort.isNew() && scans.receivePort.read()) << "scan " << k;
    ASSERT_EQ(scans.received.ranges.length(), recorded[k].size());
    for (CORBA::ULong s = 0; s < recorded[k].size(); ++s)
      EXPECT_EQ(0, std::memcmp(&scans.received.ranges[s], &recorded[k][s], sizeof(double))) << k << ": " << s;
    const int64_t stamp = static_cast<int64_t>(scans.received.tm.sec) * 1000 + scans.received.tm.nsec / 1000000;
    EXPECT_TRUE(stamp >= earliest[k] && stamp <= latest[k]) << "scan " << k << ": " << stamp;
  }
  testrt::tick(player);
  EXPECT_FALSE(scans.receivePort.isNew());
  std::remove(path.c_str());
}
