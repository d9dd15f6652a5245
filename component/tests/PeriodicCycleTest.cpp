// Strolvex on a periodic execution context of its own thread, as the
// launcher runs it, while scans, parameter changes and transitions come
// from other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "component/tests/ComponentHarness.h"

namespace {

using testrt::eventually;

TEST(PeriodicCycle, ScansParametersAndTransitionsFromOtherThreadsWhileTheContextRuns) {
  registerStrolvexProbe();
  auto* strolvex = static_cast<StrolvexProbe*>(testrt::create(
      "Strolvex?exec_cxt.periodic.type=PeriodicExecutionContext&exec_cxt.periodic.rate=1000"));
  // The test's end of the ports; its own context never runs.
  auto* ports = static_cast<PortProbe*>(testrt::create("PortProbe"));
  ASSERT_TRUE(strolvex != nullptr && ports != nullptr);
  ASSERT_TRUE(testrt::connect(ports, "scan", strolvex, "range_data"));
  ASSERT_TRUE(testrt::connect(strolvex, "human_dataX", ports, "human_dataX"));
  RTC::ExecutionContext_var context = strolvex->get_context(0);
  RTC::RTObject_var self = RTC::RTObject::_duplicate(strolvex->getObjRef());
  const auto isIn = [&](RTC::LifeCycleState wanted) {
    return eventually([&] { return context->get_component_state(self) == wanted; });
  };
  context->activate_component(self);
  ASSERT_TRUE(isIn(RTC::ACTIVE_STATE));

  std::atomic<bool> feeding{true};
  std::thread feeder([&] {
    for (int n = 0; feeding; ++n) ports->sendScan(busySceneScan(n));
  });
  std::thread toggler([&] {
    for (int round = 0; round < 20; ++round) {
      context->deactivate_component(self);
      isIn(RTC::INACTIVE_STATE);
      context->activate_component(self);
      isIn(RTC::ACTIVE_STATE);
    }
  });
  const char* const humanNum[] = {"3", "11", "6", "abc"};
  for (int change = 0; change < 200; ++change) {
    testrt::setParameter(strolvex, "Human_NUM", humanNum[change % 4]);
  }
  toggler.join();
  testrt::setParameter(strolvex, "Human_NUM", "3");
  // Every published sample has one of the valid slot counts, and the last
  // change reaches the outputs.
  bool onlyValidSlotCounts = true;
  const bool changeReached = eventually([&] {
    while (ports->outputs[PortProbe::kX].isNew()) {
      ports->outputs[PortProbe::kX].read();
      const CORBA::ULong slots = ports->received[PortProbe::kX].data.length();
      onlyValidSlotCounts = onlyValidSlotCounts && (slots == 3 || slots == 6);
    }
    return ports->received[PortProbe::kX].data.length() == 3;
  });
  feeding = false;
  feeder.join();
  EXPECT_TRUE(changeReached);
  EXPECT_TRUE(onlyValidSlotCounts);
  ASSERT_TRUE(isIn(RTC::ACTIVE_STATE));
  // Deactivation runs on the context thread: its state is ours to read after.
  context->deactivate_component(self);
  ASSERT_TRUE(isIn(RTC::INACTIVE_STATE));
  EXPECT_EQ(strolvex->m_Human_NUM, 3);
  testrt::destroy(strolvex);
  testrt::destroy(ports);
}

}  // namespace
