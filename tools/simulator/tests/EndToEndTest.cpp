// The whole demo chain in one process, driven tick by tick: the simulator's
// scans go through Strolvex to the logger, and what Strolvex counts must be
// what the scene's people did.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "component/Strolvex.h"
#include "component/StrolvexInit.h"
#include "tools/logger/ResultLogger.h"
#include "tools/recorder/tests/RangeProbe.h"  // tick()
#include "tools/simulator/ScanSimulator.h"

TEST(EndToEnd, StrolvexCountsWhatTheSceneShows) {
  const std::string json = "/tmp/strolvex-e2e-" + std::to_string(getpid()) + ".jsonl";
  std::vector<std::string> args = {"simulator_tests", "-o", "exec_cxt.periodic.type:ExtTrigExecutionContext",
                                   "-o", "exec_cxt.periodic.rate:10", "-o", "logger.log_level:ERROR"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  RTC::Manager* manager = RTC::Manager::init(static_cast<int>(argv.size()), argv.data());
  ASSERT_NE(manager, nullptr);
  StrolvexInit(manager);
  ScanSimulatorInit(manager);
  ResultLoggerInit(manager);

  // A 30 s scene (three people each way) ends its last pass by 28 s;
  // ticking stops before the simulator would end the manager.
  RTC::RTObject_impl* simulator = manager->createComponent(
      "ScanSimulator?conf.default.seed=4&conf.default.people_per_minute=30&conf.default.duration_s=30");
  RTC::RTObject_impl* strolvex = manager->createComponent("Strolvex");
  RTC::RTObject_impl* logger = manager->createComponent(("ResultLogger?conf.default.json_file=" + json).c_str());
  ASSERT_TRUE(simulator != nullptr && strolvex != nullptr && logger != nullptr);
  ASSERT_TRUE(manager->connectPorts("ScanSimulator0.range_data", "Strolvex0.range_data"));
  for (const char* port : {"human_dataX", "human_dataY", "human_dataV", "human_dataT", "count_data"})
    ASSERT_TRUE(manager->connectPorts(std::string("Strolvex0.") + port, std::string("ResultLogger0.") + port));

  // Strolvex times its tracks by the scene's clock, as if running live.
  ManualClock clock;
  dynamic_cast<Strolvex&>(*strolvex).setClock(&clock);
  for (RTC::RTObject_impl* comp : {simulator, strolvex, logger})
    ASSERT_EQ(comp->get_context(0)->activate_component(comp), RTC::RTC_OK) << comp->getInstanceName();
  for (int cycle = 0; cycle < 299; ++cycle) {
    tick(simulator);
    clock.set(cycle * 100);
    tick(strolvex);
    tick(logger);
  }

  // The logger's last JSON line: the scene clock at its 299th scan, and
  // the scene's counts.
  const ScanSimulator& scene = dynamic_cast<ScanSimulator&>(*simulator);
  EXPECT_EQ(scene.crossedIn(), 3);
  EXPECT_EQ(scene.crossedOut(), 3);
  std::ifstream file(json);
  std::string last;
  for (std::string line; std::getline(file, line);) last = line;
  EXPECT_EQ(last.rfind("{\"t\":1704067229800,", 0), 0u) << last;
  EXPECT_NE(last.find("\"count\":[3,3,"), std::string::npos) << last;

  dynamic_cast<Strolvex&>(*strolvex).setClock(nullptr);
  manager->shutdown();
  std::remove(json.c_str());
}
