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

#include <algorithm>

#include "tools/player/ScanLogPlayer.h"
#include "tools/recorder/tests/RangeProbe.h"

namespace {

typedef std::vector<std::pair<long, double>> Scans;  // time stamp (ms) and first range

class Playback : public ::testing::Test {
 protected:
  // Once per program: some middleware series cannot take a second
  // registration of a type.
  static void SetUpTestSuite() {
    registerRangeProbe();
    ScanLogPlayerInit(&testrt::manager());
  }
  void TearDown() override { std::remove(path_.c_str()); }

  // Starts a player on a log holding text (none if empty), connected to a
  // probe; returns the state activation led to.
  RTC::LifeCycleState startPlayer(const std::string& text, const std::string& settings) {
    if (!text.empty()) std::ofstream(path_) << text;
    probe_ = testrt::create("RangeProbe");
    player_ = testrt::create("ScanLogPlayer?conf.default.file=" + path_ + "&" + settings);
    if (probe_ == nullptr || player_ == nullptr) return RTC::CREATED_STATE;
    testrt::destroyAtTestEnd(probe_);
    testrt::destroyAtTestEnd(player_);
    testrt::connect(player_, "range_data", probe_, "receive");
    testrt::activate(player_);
    // A failed activation shows at the next cycle.
    testrt::tick(player_);
    return testrt::state(player_);
  }

  // Ticks the player cycles times and returns everything received since the
  // player started (whether the activation's own cycle already sent
  // depends on the middleware).
  Scans ticks(int cycles) {
    RangeProbe& probe = dynamic_cast<RangeProbe&>(*probe_);
    for (int cycle = 0; cycle < cycles; ++cycle) testrt::tick(player_);
    while (probe.receivePort.isNew()) {
      probe.receivePort.read();
      log_.emplace_back(probe.received.tm.sec * 1000L + probe.received.tm.nsec / 1000000L,
                        probe.received.ranges.length() > 0 ? probe.received.ranges[0] : -1.0);
    }
    return log_;
  }

  const std::string path_ = "/tmp/strolvex-playback-" + std::to_string(getpid()) + ".log";
  RTC::RTObject_impl* probe_ = nullptr;
  RTC::RTObject_impl* player_ = nullptr;
  Scans log_;
};

Scans first(const Scans& scans, std::size_t n) {
  return Scans(scans.begin(), scans.begin() + static_cast<long>(std::min(n, scans.size())));
}

}  // namespace

TEST_F(Playback, SkipsBadLinesAndLoopsWithRisingTimeStamps) {
  ASSERT_EQ(startPlayer("# two scans\n\n1000 10 11\n1100 oops 12\n1100 20 21\n",
                        "conf.default.speed=0&conf.default.loop=1"),
            RTC::ACTIVE_STATE);
  // One scan per cycle; the second pass follows the first after the log's
  // own interval.
  const Scans got = ticks(4);
  EXPECT_EQ(first(got, 5), (Scans{{1000, 10}, {1100, 20}, {1200, 10}, {1300, 20}, {1400, 10}}));
  EXPECT_LE(got.size(), 6u);
}

TEST_F(Playback, KeepsTheRecordedPace) {
  // Everything due goes out in one cycle; a scan recorded a day later
  // does not come within the test.
  ASSERT_EQ(startPlayer("0 1\n0 2\n86400000 3\n", "conf.default.speed=1"), RTC::ACTIVE_STATE);
  EXPECT_EQ(ticks(1), (Scans{{0, 1}, {0, 2}}));
  EXPECT_EQ(ticks(1).size(), 2u);
}

TEST_F(Playback, LoopsALogOfOneTimeStampOnePassPerCycle) {
  // Every pass is due at once; each cycle still returns, and each pass
  // comes at least a millisecond after the one before.
  ASSERT_EQ(startPlayer("1000 1\n1000 2\n", "conf.default.speed=1e9&conf.default.loop=1"),
            RTC::ACTIVE_STATE);
  const Scans got = ticks(1);
  EXPECT_EQ(first(got, 4), (Scans{{1000, 1}, {1000, 2}, {1001, 1}, {1001, 2}}));
  EXPECT_LE(got.size(), 6u);
}

TEST_F(Playback, RefusesToStartWithoutItsLog) {
  EXPECT_EQ(startPlayer("", "conf.default.speed=0"), RTC::ERROR_STATE);
}
