// The whole demo chain in one process, driven tick by tick: the simulator's
// scans go through Strolvex to the logger, and what Strolvex counts must be
// what the scene's people did.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "component/Strolvex.h"
#include "component/StrolvexInit.h"
#include "component/tests/TestRuntime.h"
#include "tools/logger/ResultLogger.h"
#include "tools/simulator/ScanSimulator.h"

TEST(EndToEnd, StrolvexCountsWhatTheSceneShows) {
  const std::string json = "/tmp/strolvex-e2e-" + std::to_string(getpid()) + ".jsonl";
  StrolvexInit(&testrt::manager());
  ScanSimulatorInit(&testrt::manager());
  ResultLoggerInit(&testrt::manager());
  // A 30 s scene at 10 scans a second (three people each way) ends its last
  // pass by 28 s; ticking stops before the simulator would end the manager.
  RTC::RTObject_impl* simulator = testrt::create("ScanSimulator?conf.default.seed=4&conf.default.people_per_minute=30"
                                                 "&conf.default.duration_s=30&conf.default.scan_rate=10");
  RTC::RTObject_impl* strolvex = testrt::create("Strolvex");
  RTC::RTObject_impl* logger = testrt::create("ResultLogger?conf.default.json_file=" + json);
  ASSERT_TRUE(simulator != nullptr && strolvex != nullptr && logger != nullptr);
  for (RTC::RTObject_impl* comp : {simulator, strolvex, logger}) testrt::destroyAtTestEnd(comp);
  ASSERT_TRUE(testrt::connect(simulator, "range_data", strolvex, "range_data"));
  for (const char* port : {"human_dataX", "human_dataY", "human_dataV", "human_dataT", "count_data"})
    ASSERT_TRUE(testrt::connect(strolvex, port, logger, port));

  // Strolvex times its tracks by the scene's clock, as if running live.
  // Consumers first: a middleware may run a cycle at activation, and a scan
  // the simulator sends then waits in Strolvex's port for its next cycle.
  ManualClock clock;
  dynamic_cast<Strolvex&>(*strolvex).setClock(&clock);
  for (RTC::RTObject_impl* comp : {logger, strolvex, simulator}) ASSERT_EQ(testrt::activate(comp), RTC::ACTIVE_STATE);
  for (int cycle = 0; cycle < 299; ++cycle) {
    testrt::tick(simulator);
    clock.set(cycle * 100);
    testrt::tick(strolvex);
    testrt::tick(logger);
  }
  // The logger's last line: the scene clock at its 299th scan, the scene's counts.
  const ScanSimulator& scene = dynamic_cast<ScanSimulator&>(*simulator);
  EXPECT_TRUE(scene.crossedIn() == 3 && scene.crossedOut() == 3) << scene.crossedIn() << " " << scene.crossedOut();
  std::ifstream file(json);
  std::string last;
  for (std::string line; std::getline(file, line);) last = line;
  EXPECT_EQ(0u, last.rfind("{\"t\":1704067229800,", 0)) << last;
  EXPECT_NE(std::string::npos, last.find("\"count\":[3,3,")) << last;
  dynamic_cast<Strolvex&>(*strolvex).setClock(nullptr);
  std::remove(json.c_str());
}
