// How the player walks through a scan log: bad lines skipped, looping with
// time stamps that keep rising, the recorded pace, a cycle that returns
// whatever the stamps, no start without a log.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "tools/player/ScanLogPlayer.h"
#include "tools/recorder/tests/RangeProbe.h"

namespace {

typedef std::vector<std::pair<long, double>> Scans;  // time stamp (ms) and first range

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) ScanLogPlayerInit(&tickedManager());
    registered = true;
  }

  void TearDown() override {
    for (RTC::RTObject_impl* comp : {player_, probe_})
      if (comp != nullptr) tickedManager().deleteComponent(comp->getInstanceName());
    std::remove(path_.c_str());
  }

  // Starts a player on a log holding text (none if empty), connected to a probe.
  RTC::ReturnCode_t startPlayer(const std::string& text, const std::string& settings) {
    if (!text.empty()) std::ofstream(path_) << text;
    RTC::Manager& manager = tickedManager();
    probe_ = manager.createComponent("RangeProbe");
    player_ = manager.createComponent(("ScanLogPlayer?conf.default.file=" + path_ + "&" + settings).c_str());
    if (probe_ == nullptr || player_ == nullptr) return RTC::RTC_ERROR;
    manager.connectPorts(std::string(player_->getInstanceName()) + ".range_data",
                         std::string(probe_->getInstanceName()) + ".receive");
    return player_->get_context(0)->activate_component(player_);
  }

  // Ticks the player once and returns what the probe received.
  Scans tickAndReceive() {
    tick(player_);
    RangeProbe& probe = dynamic_cast<RangeProbe&>(*probe_);
    Scans scans;
    while (probe.receivePort.read())
      scans.emplace_back(probe.received.tm.sec * 1000L + probe.received.tm.nsec / 1000000L,
                         probe.received.ranges.length() > 0 ? probe.received.ranges[0] : -1.0);
    return scans;
  }

  const std::string path_ = "/tmp/strolvex-playback-" + std::to_string(getpid()) + ".log";
  RTC::RTObject_impl* probe_ = nullptr;
  RTC::RTObject_impl* player_ = nullptr;
};

}  // namespace

TEST_F(Playback, SkipsBadLinesAndLoopsWithRisingTimeStamps) {
  ASSERT_EQ(startPlayer("# two scans\n\n1000 10 11\n1100 oops 12\n1100 20 21\n",
                        "conf.default.speed=0&conf.default.loop=1"),
            RTC::RTC_OK);
  Scans got;
  for (int cycle = 0; cycle < 5; ++cycle) {
    const Scans scans = tickAndReceive();
    ASSERT_EQ(scans.size(), 1u) << "cycle " << cycle;
    got.push_back(scans[0]);
  }
  // The second pass follows the first after the log's own interval.
  EXPECT_EQ(got, (Scans{{1000, 10}, {1100, 20}, {1200, 10}, {1300, 20}, {1400, 10}}));
}

TEST_F(Playback, KeepsTheRecordedPace) {
  // Everything due goes out in one cycle; a scan recorded a day later
  // does not come within the test.
  ASSERT_EQ(startPlayer("0 1\n0 2\n86400000 3\n", "conf.default.speed=1"), RTC::RTC_OK);
  EXPECT_EQ(tickAndReceive(), (Scans{{0, 1}, {0, 2}}));
  EXPECT_TRUE(tickAndReceive().empty());
}

TEST_F(Playback, LoopsALogOfOneTimeStampOnePassPerCycle) {
  // Every pass is due at once; each cycle still returns, and each pass
  // comes at least a millisecond after the one before.
  ASSERT_EQ(startPlayer("1000 1\n1000 2\n", "conf.default.speed=1e9&conf.default.loop=1"),
            RTC::RTC_OK);
  EXPECT_EQ(tickAndReceive(), (Scans{{1000, 1}, {1000, 2}}));
  EXPECT_EQ(tickAndReceive(), (Scans{{1001, 1}, {1001, 2}}));
}

TEST_F(Playback, RefusesToStartWithoutItsLog) {
  EXPECT_NE(startPlayer("", "conf.default.speed=0"), RTC::RTC_OK);
  EXPECT_EQ(player_->get_context(0)->get_component_state(player_), RTC::ERROR_STATE);
}
