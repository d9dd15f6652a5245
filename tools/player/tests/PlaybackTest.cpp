// How the player walks through a scan log: bad lines skipped, looping with
// time stamps that keep rising, the recorded pace, a cycle that returns
// whatever the stamps, no start without a log.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/player/ScanLogPlayer.h"
#include "tools/recorder/tests/RangeProbe.h"

typedef std::vector<std::pair<long, double>> Scans;  // time stamp (ms) and first range

TEST(Playback, KeepsThePaceLoopsAndSkipsBadLines) {
  registerRangeProbe();
  ScanLogPlayerInit(&testrt::manager());
  // Cycles run after activation and the scans they bring first; a few more
  // may follow (whether the activation's own cycle sends depends on the
  // middleware), up to the given total.
  struct Case { const char* log; const char* settings; int cycles; Scans first; std::size_t most; };
  const Case cases[] = {
      // One scan per cycle; the second pass follows the first after the
      // log's own interval.
      {"# two scans\n\n1000 10 11\n1100 oops 12\n1100 20 21\n", "speed=0&conf.default.loop=1", 5,
       {{1000, 10}, {1100, 20}, {1200, 10}, {1300, 20}, {1400, 10}}, 6},
      // Everything due goes out at once; a scan recorded a day later does
      // not come within the test.
      {"0 1\n0 2\n86400000 3\n", "speed=1", 2, {{0, 1}, {0, 2}}, 2},
      // Every pass is due at once: each cycle still returns, and each pass
      // comes at least a millisecond after the one before.
      {"1000 1\n1000 2\n", "speed=1e9&conf.default.loop=1", 2, {{1000, 1}, {1000, 2}, {1001, 1}, {1001, 2}}, 6},
      {nullptr, "speed=0", 1, {}, 0}};  // no log: no start
  const std::string path = "/tmp/strolvex-playback-" + std::to_string(getpid()) + ".log";
  for (const Case& c : cases) {
    if (c.log != nullptr) std::ofstream(path) << c.log;
    RTC::RTObject_impl* probe = testrt::create("RangeProbe");
    RTC::RTObject_impl* player = testrt::create(std::string("ScanLogPlayer?conf.default.file=") + path +
                                                "&conf.default." + c.settings);
    ASSERT_TRUE(probe != nullptr && player != nullptr);
    testrt::destroyAtTestEnd(probe);
    testrt::destroyAtTestEnd(player);
    testrt::connect(player, "range_data", probe, "receive");
    testrt::activate(player);
    for (int cycle = 0; cycle < c.cycles; ++cycle) testrt::tick(player);
    std::remove(path.c_str());
    // A failed activation shows after a cycle.
    EXPECT_EQ(c.log != nullptr ? RTC::ACTIVE_STATE : RTC::ERROR_STATE, testrt::state(player)) << c.settings;
    RangeProbe& got = dynamic_cast<RangeProbe&>(*probe);
    Scans scans;
    for (; got.receivePort.isNew() && got.receivePort.read();)
      scans.emplace_back(got.received.tm.sec * 1000L + got.received.tm.nsec / 1000000L, got.received.ranges[0]);
    EXPECT_LE(scans.size(), c.most) << c.settings;
    scans.resize(std::min(scans.size(), c.first.size()));
    EXPECT_EQ(c.first, scans) << c.settings;
  }
}
