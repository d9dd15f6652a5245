// How the player walks through a scan log: bad lines skipped, looping with
// time stamps that keep rising, and the recorded pace.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tools/player/ScanLogPlayer.h"
#include "tools/recorder/tests/RangeProbe.h"

namespace {

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) ScanLogPlayerInit(&tickedManager());
    registered = true;
    path_ = "/tmp/strolvex-playback-" + std::to_string(getpid()) + ".log";
  }

  void TearDown() override {
    if (player_ != nullptr) tickedManager().deleteComponent(player_->getInstanceName());
    if (probe_ != nullptr) tickedManager().deleteComponent(probe_->getInstanceName());
    std::remove(path_.c_str());
  }

  void writeLog(const std::string& text) { std::ofstream(path_.c_str()) << text; }

  // Starts a player on the log with the given settings, connected to a probe.
  RTC::ReturnCode_t startPlayer(const std::string& settings) {
    RTC::Manager& manager = tickedManager();
    probe_ = manager.createComponent("RangeProbe");
    player_ = manager.createComponent(("ScanLogPlayer?conf.default.file=" + path_ + "&" + settings).c_str());
    if (probe_ == nullptr || player_ == nullptr) return RTC::RTC_ERROR;
    manager.connectPorts(std::string(player_->getInstanceName()) + ".range_data",
                         std::string(probe_->getInstanceName()) + ".receive");
    return player_->get_context(0)->activate_component(player_);
  }

  // Time stamps (ms) and first ranges of the scans received since the last call.
  std::vector<std::pair<long, double>> received() {
    RangeProbe& probe = dynamic_cast<RangeProbe&>(*probe_);
    std::vector<std::pair<long, double>> scans;
    while (probe.receivePort.read())
      scans.emplace_back(probe.received.tm.sec * 1000L + probe.received.tm.nsec / 1000000L,
                         probe.received.ranges.length() > 0 ? probe.received.ranges[0] : -1.0);
    return scans;
  }

  std::string path_;
  RTC::RTObject_impl* probe_ = nullptr;
  RTC::RTObject_impl* player_ = nullptr;
};

typedef std::vector<std::pair<long, double>> Scans;

}  // namespace

TEST_F(Playback, SkipsBadLinesAndLoopsWithRisingTimeStamps) {
  writeLog("# two scans\n\n1000 10 11\n1100 oops 12\n1100 20 21\n");
  ASSERT_EQ(startPlayer("conf.default.speed=0&conf.default.loop=1"), RTC::RTC_OK);
  Scans got;
  for (int cycle = 0; cycle < 5; ++cycle) {
    tick(player_);
    const Scans scans = received();
    ASSERT_EQ(scans.size(), 1u) << "cycle " << cycle;
    got.push_back(scans[0]);
  }
  // The second pass follows the first after the log's own interval.
  EXPECT_EQ(got, (Scans{{1000, 10}, {1100, 20}, {1200, 10}, {1300, 20}, {1400, 10}}));
}

TEST_F(Playback, StopsAtTheEndWithoutLoop) {
  writeLog("5 1\n6 2\n");
  ASSERT_EQ(startPlayer("conf.default.speed=0"), RTC::RTC_OK);
  tick(player_);
  tick(player_);
  EXPECT_EQ(received(), (Scans{{5, 1}, {6, 2}}));
  for (int cycle = 0; cycle < 3; ++cycle) tick(player_);
  EXPECT_TRUE(received().empty());
  EXPECT_EQ(player_->get_context(0)->get_component_state(player_), RTC::ACTIVE_STATE);
}

TEST_F(Playback, KeepsTheRecordedPace) {
  // Everything due goes out in one cycle; a scan recorded a day later
  // does not come within the test.
  writeLog("0 1\n0 2\n86400000 3\n");
  ASSERT_EQ(startPlayer("conf.default.speed=1"), RTC::RTC_OK);
  tick(player_);
  EXPECT_EQ(received(), (Scans{{0, 1}, {0, 2}}));
  tick(player_);
  EXPECT_TRUE(received().empty());
}

TEST_F(Playback, RefusesToStartWithoutItsLog) {
  EXPECT_NE(startPlayer("conf.default.speed=0"), RTC::RTC_OK);
  EXPECT_EQ(player_->get_context(0)->get_component_state(player_), RTC::ERROR_STATE);
}
