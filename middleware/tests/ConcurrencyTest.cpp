// Periodic contexts under concurrent use: port writes, transitions and
// shutdown requested from other threads while a component's cycles run.
// No timing assertions; the ThreadSanitizer build is what judges them.
#include "TestSupport.h"

#include <cmath>

namespace {

class Concurrency : public ManagerTest {
 protected:
  // An active Recorder on its own periodic thread whose every cycle works
  // long enough that another thread's request usually finds one under way.
  Recorder* createBusy(std::vector<std::string> args, std::function<void(Recorder*)> before = [](Recorder*) {}) {
    args.insert(args.end(), {"-o", "exec_cxt.periodic.rate:1000"});
    start(args);
    Recorder* comp = create();
    comp->m_beforeExecute = [comp, before] {
      before(comp);
      volatile double sink = 0.0;
      for (int i = 1; i <= 20000; ++i) sink = sink + std::sqrt(static_cast<double>(i));
    };
    return activate(comp) == RTC::RTC_OK ? comp : nullptr;
  }
};

TEST_F(Concurrency, WritesFromAnotherThreadReachThePeriodicReaderInOrder) {
  std::vector<int> received;  // the context thread's until a transition syncs
  Recorder* comp = createBusy({}, [&received](Recorder* self) {
    while (self->m_inPort.isNew() && self->m_inPort.read()) received.push_back(self->m_in.data);
  });
  ASSERT_NE(nullptr, comp);
  RTC::TimedLong sent;
  RTC::OutPort<RTC::TimedLong> out("out", sent);
  ASSERT_EQ(RTC::RTC_OK, connect(out.getPortRef(), RTC::PortService_var(port(comp, "in")), {{"buffer.length", "64"}}));
  std::thread writer([&] {
    for (sent.data = 1; sent.data <= 3000; ++sent.data) out.write();
  });
  writer.join();
  ASSERT_TRUE(eventually([comp] { return !comp->m_inPort.isNew(); }));
  ASSERT_EQ(RTC::RTC_OK, deactivate(comp));
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(3000, received.back()) << "the newest sample is never the one dropped";
  EXPECT_EQ(received.end(), std::adjacent_find(received.begin(), received.end(), std::greater_equal<int>()))
      << "no sample twice, none out of order";
}

TEST_F(Concurrency, TransitionsFromSeveralThreadsWhileRunningThenAStop) {
  // Another thread's transition may undo ours before we see it: the
  // request then times out, which a short timeout keeps quick.
  Recorder* comp = createBusy({"-o", "exec_cxt.transition_timeout:0.02"});
  ASSERT_NE(nullptr, comp);
  std::atomic<bool> stopped{false};
  std::atomic<int> unexpected{0};
  const auto toggle = [&] {
    while (!stopped) {
      for (RTC::ReturnCode_t code : {deactivate(comp), activate(comp)}) {
        if (code != RTC::RTC_OK && code != RTC::PRECONDITION_NOT_MET && code != RTC::RTC_ERROR) ++unexpected;
      }
    }
  };
  std::thread first(toggle), second(toggle);
  EXPECT_TRUE(eventually([] { return countOf(eventsOf("Recorder0"), "onActivated") > 20; }));
  EXPECT_EQ(RTC::RTC_OK, RTC::ExecutionContext_var(contextOf(comp))->stop());
  stopped = true;
  first.join();
  second.join();

  EXPECT_EQ(0, unexpected.load());
  EXPECT_EQ(RTC::INACTIVE_STATE, state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, activate(comp)) << "the context has stopped";
  // Every transition ran its callback once, alternately.
  const Events events = eventsOf("Recorder0", false);
  ASSERT_GE(events.size(), 5u);
  for (std::size_t i = 2; i + 1 < events.size(); ++i) {
    ASSERT_EQ(i % 2 == 0 ? "onActivated" : "onDeactivated", events[i]) << i;
  }
  EXPECT_EQ("onShutdown", events.back());
}

TEST_F(Concurrency, ShutdownWhileABusyCycleRunsAndAWriterKeepsWriting) {
  Recorder* comp = createBusy({});
  ASSERT_NE(nullptr, comp);
  RTC::TimedLong sent;
  RTC::OutPort<RTC::TimedLong> out("out", sent);  // outlives the component
  ASSERT_EQ(RTC::RTC_OK, connect(out.getPortRef(), RTC::PortService_var(port(comp, "in"))));
  ASSERT_TRUE(eventually([] { return countOf(eventsOf("Recorder0"), "onStateUpdate") >= 3; }));
  std::atomic<bool> connectionEnded{false};
  std::thread writer([&] {
    // Ends when deleting the reader ends the connection.
    for (sent.data = 1; sent.data <= 10000000 && !connectionEnded; ++sent.data) connectionEnded = !out.write();
  });
  RTC::Manager* manager = m_manager;
  stop();
  writer.join();
  EXPECT_TRUE(connectionEnded);
  EXPECT_TRUE(manager->getComponents().empty());
  EXPECT_EQ((Events{"onInitialize", "onStartup", "onActivated", "onDeactivated", "onShutdown", "onFinalize",
                    "destroyed"}), eventsOf("Recorder0", false));
}

}  // namespace
