// The life cycle as each kind of execution context drives it: where and
// when cycles run, how transition requests wait for them, the error state
// and the end of a component.
#include "TestSupport.h"

#include <atomic>
#include <condition_variable>

namespace {

using Lifecycle = ManagerTest;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> kSynchAsync = {"-o", "exec_cxt.periodic.type:SynchExtTriggerEC", "-o",
                                              "exec_cxt.sync_transition:NO"};

double secondsSince(Clock::time_point begin) { return std::chrono::duration<double>(Clock::now() - begin).count(); }

}  // namespace

TEST_F(Lifecycle, SynchExtTriggerRunsTheCycleInsideTickThenSleepsOutThePeriod) {
  std::vector<std::string> args = kSynchAsync;
  args.insert(args.end(), {"-o", "exec_cxt.periodic.rate:50"});
  start(args);
  Recorder* comp = create();
  Recorder* other = create();
  ASSERT_NE(nullptr, other);
  tick(comp);  // inactive: nothing runs
  EXPECT_EQ(RTC::RTC_OK, activate(comp)) << "an asynchronous request returns at once";
  EXPECT_EQ(RTC::INACTIVE_STATE, stateOf(comp)) << "until a cycle carries it out";
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, activate(comp)) << "one request at a time";
  const Clock::time_point begin = Clock::now();
  tick(comp);
  EXPECT_GE(secondsSince(begin), 0.019);
  EXPECT_EQ(RTC::ACTIVE_STATE, stateOf(comp));
  EXPECT_EQ(std::this_thread::get_id(), comp->threadOf("onExecute"));
  deactivate(comp);
  tick(comp);
  activate(comp);
  tick(comp);

  RTC::ExecutionContext_var context = comp->get_context(0);
  EXPECT_EQ(RTC::BAD_PARAMETER, context->activate_component(other->getObjRef())) << "not its component";
  EXPECT_EQ(RTC::CREATED_STATE, context->get_component_state(other->getObjRef()));
  EXPECT_TRUE(CORBA::is_nil(comp->get_context(1)));
  m_manager->deleteComponent("Recorder0");
  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onExecute", "onStateUpdate", "onDeactivated",
                    "onActivated", "onExecute", "onStateUpdate", "onDeactivated", "onShutdown", "onFinalize",
                    "destroyed"}),
            eventsOf("Recorder0"));
}

TEST_F(Lifecycle, SynchronousRequestsWaitUpToTheTimeoutForTheCycleThatCarriesThemOut) {
  start({"-o", "exec_cxt.periodic.type:SynchExtTriggerEC"});
  Recorder* comp = create();
  ASSERT_NE(nullptr, comp);
  const Clock::time_point begin = Clock::now();
  EXPECT_EQ(RTC::RTC_ERROR, activate(comp)) << "nobody ticks";
  EXPECT_GE(secondsSince(begin), 0.49);
  EXPECT_LT(secondsSince(begin), 2.0);
  tick(comp);
  EXPECT_EQ(RTC::ACTIVE_STATE, stateOf(comp)) << "the request stayed pending";

  std::atomic<bool> done{false};
  std::thread ticker([&] {
    while (!done) tick(comp);
  });
  EXPECT_EQ(RTC::RTC_OK, deactivate(comp));
  EXPECT_EQ(RTC::INACTIVE_STATE, stateOf(comp)) << "reached when the request returns";
  done = true;
  ticker.join();
}

TEST_F(Lifecycle, AFailedCallbackLeadsToErrorAtTheNextCycleUntilReset) {
  start(kSynchAsync);
  const std::vector<std::pair<std::string, Events>> cases = {
      {"test.fail=onActivated", {"onActivated"}},
      {"test.fail=onExecute", {"onActivated", "onExecute"}},
      {"test.throw=onStateUpdate", {"onActivated", "onExecute", "onStateUpdate"}}};
  for (const auto& failure : cases) {
    Recorder* comp = create("?" + failure.first);
    ASSERT_NE(nullptr, comp);
    activate(comp);
    tick(comp);
    EXPECT_EQ(RTC::ACTIVE_STATE, stateOf(comp)) << failure.first << ": until the next cycle";
    tick(comp);
    EXPECT_EQ(RTC::ERROR_STATE, stateOf(comp)) << failure.first;
    Events expected{"onInitialize", "onStartup"};
    expected.insert(expected.end(), failure.second.begin(), failure.second.end());
    expected.insert(expected.end(), {"onDeactivated", "onAborting", "onError"});
    EXPECT_EQ(expected, eventsOf(comp->getInstanceName())) << failure.first;
  }

  RTC::RTObject_impl* comp = m_manager->getComponent("Recorder1");
  coil::Properties& props = comp->getProperties();
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, activate(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, deactivate(comp));
  props["test.fail"] = "";
  props["test.throw"] = "onReset";
  clearEvents();
  EXPECT_EQ(RTC::RTC_OK, reset(comp));
  tick(comp);
  EXPECT_EQ(RTC::ERROR_STATE, stateOf(comp)) << "a failed reset stays in error";
  props["test.throw"] = "";
  reset(comp);
  tick(comp);
  EXPECT_EQ(RTC::INACTIVE_STATE, stateOf(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, reset(comp));
  EXPECT_EQ((Events{"onReset", "onError", "onReset"}), eventsOf("Recorder1"));
}

TEST_F(Lifecycle, ExtTrigTickOnlyWakesItsThreadAndTicksDuringACycleAreLost) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext"});
  Recorder* comp = create();
  ASSERT_NE(nullptr, comp);
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;
  int entered = 0;
  comp->m_beforeExecute = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    ++entered;
    changed.wait_for(lock, std::chrono::seconds(5), [&] { return open; });
  };
  const auto enteredCount = [&] {
    std::lock_guard<std::mutex> lock(mutex);
    return entered;
  };
  const auto cyclesDone = [] { return countOf(eventsOf("Recorder0"), "onStateUpdate"); };
  // The request ticks the context itself; its cycle goes on to onExecute.
  ASSERT_EQ(RTC::RTC_OK, activate(comp));
  ASSERT_TRUE(eventually([&] { return enteredCount() == 1; }));
  for (int i = 0; i < 3; ++i) tick(comp);
  EXPECT_EQ(1, enteredCount()) << "tick() returned without running a cycle";
  {
    std::lock_guard<std::mutex> lock(mutex);
    open = true;
  }
  changed.notify_all();
  ASSERT_TRUE(eventually([&] { return cyclesDone() == 1; }));
  EXPECT_TRUE(holdsFor(50, [&] { return enteredCount() == 1; })) << "the ticks during the cycle were lost";
  tick(comp);
  EXPECT_TRUE(eventually([&] { return cyclesDone() == 2; }));
  EXPECT_EQ(RTC::RTC_OK, deactivate(comp));
  EXPECT_NE(std::this_thread::get_id(), comp->threadOf("onExecute"));
}

TEST_F(Lifecycle, PeriodicContextRunsEverythingOnItsOwnThread) {
  start({"-o", "exec_cxt.periodic.rate:500"});
  Recorder* comp = create("?test.slow=onActivated");
  ASSERT_NE(nullptr, comp);
  ASSERT_EQ(RTC::RTC_OK, activate(comp));
  EXPECT_EQ(1, countOf(eventsOf("Recorder0"), "onActivated")) << "a synchronous request returns after it";
  EXPECT_EQ(5, comp->m_countAtActivation);
  ASSERT_TRUE(eventually([] { return countOf(eventsOf("Recorder0"), "onExecute") >= 3; }));
  ASSERT_EQ(RTC::RTC_OK, deactivate(comp));
  EXPECT_EQ(1, countOf(eventsOf("Recorder0"), "onDeactivated"));
  const std::thread::id worker = comp->threadOf("onActivated");
  EXPECT_NE(std::this_thread::get_id(), worker);
  for (const char* callback : {"onExecute", "onStateUpdate", "onDeactivated"}) {
    EXPECT_EQ(worker, comp->threadOf(callback)) << callback;
  }
}

TEST_F(Lifecycle, ExitFinalizesAndTheNextCleanupDeletes) {
  start(kSynchAsync);
  Recorder* comp = create();
  ASSERT_NE(nullptr, comp);
  activate(comp);
  RTC::RTObject_var ref = RTC::RTObject::_duplicate(comp->getObjRef());
  RTC::ExecutionContext_var context = comp->get_context(0);
  tick(comp);
  EXPECT_EQ(RTC::RTC_OK, ref->exit());
  EXPECT_EQ(nullptr, m_manager->getComponent("Recorder0"));
  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onDeactivated", "onShutdown", "onFinalize"}),
            eventsOf("Recorder0", false));
  EXPECT_EQ(RTC::RTC_OK, comp->exit()) << "once is enough";
  m_manager->cleanupComponents();
  EXPECT_EQ("destroyed", eventsOf("Recorder0").back());
  EXPECT_EQ(1, countOf(eventsOf("Recorder0"), "onFinalize"));

  // References held elsewhere outlive the component and reach nothing.
  EXPECT_EQ(RTC::BAD_PARAMETER, ref->exit());
  EXPECT_TRUE(CORBA::is_nil(RTC::ExecutionContext_var(ref->get_context(0))));
  EXPECT_EQ(RTC::BAD_PARAMETER, context->activate_component(ref));
  EXPECT_EQ(RTC::CREATED_STATE, context->get_component_state(ref));
}
