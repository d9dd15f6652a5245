// Strolvex on a periodic execution context of its own thread, as the
// launcher runs it, while scans, parameter changes, transitions and a
// SIGTERM come from other threads.
#include <gtest/gtest.h>
#include <rtm/Factory.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "component/StrolvexProfile.h"
#include "component/tests/BusyScene.h"
#include "component/tests/StrolvexProbe.h"

namespace {

// The test's end of Strolvex's ports, owned by the test so that it outlives
// the component: writing to it after shutdown is harmless.
struct Wiring {
  explicit Wiring(StrolvexProbe& strolvex)
      : scanOut("scan", scan), xIn("x", x), countIn("count", count) {
    scanOut.connect(strolvex.m_range_dataIn);
    strolvex.m_human_dataXOut.connect(xIn);
    strolvex.m_count_dataOut.connect(countIn);
  }
  // Writes scan n of the busy scene; false once the component is gone.
  bool send(int n) {
    const std::vector<double> ranges = busySceneScan(n);
    scan.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
    for (CORBA::ULong s = 0; s < ranges.size(); ++s) scan.ranges[s] = ranges[s];
    return scanOut.write();
  }

  RTC::RangeData scan;
  RTC::OutPort<RTC::RangeData> scanOut;
  RTC::TimedLongSeq x;
  RTC::InPort<RTC::TimedLongSeq> xIn;
  RTC::TimedLongSeq count;
  RTC::InPort<RTC::TimedLongSeq> countIn;
};

RTC::Manager* startManager(std::vector<std::string> options) {
  options.insert(options.begin(), {"component_tests", "-o", "exec_cxt.periodic.rate:1000"});
  std::vector<char*> argv;
  for (std::string& option : options) argv.push_back(&option[0]);
  argv.push_back(nullptr);
  RTC::Manager* manager = RTC::Manager::init(static_cast<int>(options.size()), argv.data());
  coil::Properties profile(kStrolvexProfile);
  manager->registerFactory(profile, RTC::Create<StrolvexProbe>, RTC::Delete<StrolvexProbe>);
  return manager;
}

bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 5000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

}  // namespace

TEST(PeriodicCycle, ScansParametersAndTransitionsFromOtherThreadsWhileTheContextRuns) {
  RTC::Manager* manager = startManager({"-o", "logger.log_level:FATAL"});
  auto* strolvex = static_cast<StrolvexProbe*>(manager->createComponent("Strolvex"));
  ASSERT_NE(strolvex, nullptr);
  RTC::ExecutionContext_var context = strolvex->get_context(0);
  Wiring wiring(*strolvex);
  ASSERT_EQ(context->activate_component(strolvex), RTC::RTC_OK);

  std::atomic<bool> feeding{true};
  std::thread feeder([&] {
    for (int n = 0; feeding; ++n) wiring.send(n);
  });
  std::thread toggler([&] {
    for (int round = 0; round < 20; ++round) {
      context->deactivate_component(strolvex);
      context->activate_component(strolvex);
    }
  });
  const char* const humanNum[] = {"3", "11", "6", "abc"};
  for (int change = 0; change < 200; ++change) {
    strolvex->getConfigService().setParameter("default", "Human_NUM", humanNum[change % 4]);
  }
  toggler.join();
  strolvex->getConfigService().setParameter("default", "Human_NUM", "3");
  // Every published sample has one of the valid slot counts, and the last
  // change reaches the outputs.
  bool onlyValidSlotCounts = true;
  const bool changeReached = eventually([&] {
    while (wiring.xIn.read()) {
      const CORBA::ULong slots = wiring.x.data.length();
      onlyValidSlotCounts = onlyValidSlotCounts && (slots == 3 || slots == 6);
    }
    return wiring.x.data.length() == 3;
  });
  feeding = false;
  feeder.join();
  EXPECT_TRUE(changeReached);
  EXPECT_TRUE(onlyValidSlotCounts);
  ASSERT_EQ(context->get_component_state(strolvex), RTC::ACTIVE_STATE);
  ASSERT_TRUE(eventually([&] { return strolvex->m_range_dataIn.isEmpty(); }));
  // Deactivation runs on the context thread: its state is ours to read after.
  ASSERT_EQ(context->deactivate_component(strolvex), RTC::RTC_OK);
  EXPECT_EQ(strolvex->m_Human_NUM, 3);
  manager->shutdown();
}

TEST(PeriodicCycle, SigtermMidCycleOnABusySceneShutsDownInOrder) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RTC::Manager* manager = startManager({"-o", "logger.log_level:INFO"});
        auto* strolvex = static_cast<StrolvexProbe*>(manager->createComponent("Strolvex"));
        std::unique_ptr<Wiring> wiring(new Wiring(*strolvex));
        strolvex->get_context(0)->activate_component(strolvex);
        manager->runManager(true);
        // Scans keep coming until the component is gone.
        std::thread feeder([&] {
          for (int n = 0; wiring->send(n); ++n) {
          }
        });
        int results = 0;
        eventually([&] {
          while (wiring->countIn.read()) ++results;
          return results >= 20;
        });
        kill(getpid(), SIGTERM);
        manager->join();
        feeder.join();
        std::fprintf(stderr, "results before SIGTERM: %s\n", results >= 20 ? "yes" : "no");
        std::_Exit(manager->getComponents().empty() ? 0 : 3);
      },
      ::testing::ExitedWithCode(0),
      "Strolvex0 deleted\n.*manager shut down\nresults before SIGTERM: yes\n$");
}
