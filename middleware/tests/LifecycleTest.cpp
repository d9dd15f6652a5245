// The life cycle as each kind of execution context drives it: where and
// when cycles run, how transition requests wait for them, the error state
// and the end of a component.
#include "TestSupport.h"

namespace {

using Lifecycle = ManagerTest;

const std::vector<std::string> kSynchAsync = {"-o", "exec_cxt.periodic.type:SynchExtTriggerEC", "-o",
                                              "exec_cxt.sync_transition:NO"};

TEST_F(Lifecycle, SynchExtTriggerRunsRequestsAndCyclesInsideTickUntilExit) {
  start(kSynchAsync);
  Recorder* comp = create();
  Recorder* other = create();
  tick(comp);  // inactive: nothing runs
  EXPECT_EQ(RTC::RTC_OK, activate(comp)) << "an asynchronous request returns at once";
  EXPECT_EQ(RTC::INACTIVE_STATE, state(comp)) << "until a cycle carries it out";
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, activate(comp)) << "one request at a time";
  tick(comp);
  EXPECT_EQ(RTC::ACTIVE_STATE, state(comp));
  EXPECT_EQ(std::this_thread::get_id(), comp->m_executeThread.load());
  RTC::ExecutionContext_var context = contextOf(comp);
  EXPECT_EQ(RTC::BAD_PARAMETER, context->activate_component(other->getObjRef())) << "not its component";
  // A request that waits gives up when no tick carries it out in time, and stays pending.
  Recorder* waiting = create("?exec_cxt.sync_transition=YES&exec_cxt.transition_timeout=0.05");
  EXPECT_EQ(RTC::RTC_ERROR, activate(waiting));
  tick(waiting);
  EXPECT_EQ(RTC::ACTIVE_STATE, state(waiting));

  RTC::RTObject_var ref = RTC::RTObject::_duplicate(comp->getObjRef());
  EXPECT_EQ(RTC::RTC_OK, ref->exit());
  EXPECT_EQ(nullptr, m_manager->getComponent("Recorder0"));
  m_manager->cleanupComponents();
  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onExecute", "onStateUpdate", "onDeactivated",
                    "onShutdown", "onFinalize", "destroyed"}),
            eventsOf("Recorder0"));
  // References held elsewhere outlive the component and reach nothing.
  EXPECT_EQ(RTC::BAD_PARAMETER, ref->exit());
  EXPECT_EQ(RTC::BAD_PARAMETER, context->activate_component(ref));
}

TEST_F(Lifecycle, APeriodicContextsRequestReturnsOnceItsThreadRanTheCallback) {
  start();
  Recorder* comp = create("?test.slow=onActivated");
  ASSERT_EQ(RTC::RTC_OK, activate(comp));
  EXPECT_EQ(1, countOf(eventsOf("Recorder0"), "onActivated"));
  EXPECT_EQ(5, comp->m_countAtActivation) << "the profile's value, refreshed before onActivated";
}

TEST_F(Lifecycle, AFailedCallbackLeadsToErrorAtTheNextCycleUntilReset) {
  start(kSynchAsync);
  const std::vector<std::pair<std::string, Events>> cases = {
      {"test.fail=onActivated", {"onActivated"}},
      {"test.fail=onExecute", {"onActivated", "onExecute"}},
      {"test.throw=onStateUpdate", {"onActivated", "onExecute", "onStateUpdate"}}};
  for (const auto& failure : cases) {
    Recorder* comp = create("?" + failure.first);
    activate(comp);
    tick(comp);
    EXPECT_EQ(RTC::ACTIVE_STATE, state(comp)) << failure.first << ": until the next cycle";
    tick(comp);
    EXPECT_EQ(RTC::ERROR_STATE, state(comp)) << failure.first;
    Events expected{"onInitialize", "onStartup"};
    expected.insert(expected.end(), failure.second.begin(), failure.second.end());
    expected.insert(expected.end(), {"onDeactivated", "onAborting", "onError"});
    EXPECT_EQ(expected, eventsOf(comp->getInstanceName())) << failure.first;
  }
  // A reset that fails stays in error; one that succeeds leaves it.
  RTC::RTObject_impl* comp = m_manager->getComponent("Recorder1");
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, activate(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, deactivate(comp));
  allEvents(true);
  for (const char* thrown : {"onReset", ""}) {
    comp->getProperties()["test.fail"] = "";
    comp->getProperties()["test.throw"] = thrown;
    EXPECT_EQ(RTC::RTC_OK, reset(comp));
    tick(comp);
  }
  EXPECT_EQ(RTC::INACTIVE_STATE, state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, reset(comp));
  EXPECT_EQ((Events{"onReset", "onError", "onReset"}), eventsOf("Recorder1"));
}

TEST_F(Lifecycle, ExtTrigTickOnlyWakesItsThreadAndTicksDuringACycleAreLost) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext"});
  Recorder* comp = create();
  std::atomic<bool> open{false};
  std::atomic<int> entered{0};
  comp->m_beforeExecute = [&] {
    ++entered;
    eventually([&] { return open.load(); });
  };
  const auto cyclesDone = [] { return countOf(eventsOf("Recorder0"), "onStateUpdate"); };
  // The request ticks the context itself; its cycle goes on to onExecute.
  ASSERT_EQ(RTC::RTC_OK, activate(comp));
  ASSERT_TRUE(eventually([&] { return entered == 1; }));
  for (int i = 0; i < 3; ++i) tick(comp);
  EXPECT_EQ(1, entered.load()) << "tick() returned without running a cycle";
  open = true;
  ASSERT_TRUE(eventually([&] { return cyclesDone() == 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(1, entered.load()) << "the ticks during the cycle were lost";
  tick(comp);
  EXPECT_TRUE(eventually([&] { return cyclesDone() == 2; }));
  EXPECT_NE(std::this_thread::get_id(), comp->m_executeThread.load());
}

}  // namespace
