// Periodic contexts under concurrent use: port writes, transitions and
// shutdown requested from other threads while a component's cycles run.
// Kept quick and free of timing assertions; the ThreadSanitizer build is
// what judges them.
#include "TestSupport.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

typedef std::vector<std::string> Events;

std::mutex g_busyEventsMutex;
Events g_busyEvents;  // outlives the components, which shutdown deletes

void recordBusyEvent(const std::string& event) {
  std::lock_guard<std::mutex> lock(g_busyEventsMutex);
  g_busyEvents.push_back(event);
}

void clearBusyEvents() {
  std::lock_guard<std::mutex> lock(g_busyEventsMutex);
  g_busyEvents.clear();
}

Events busyEvents() {
  std::lock_guard<std::mutex> lock(g_busyEventsMutex);
  return g_busyEvents;
}

// Drains its in-port every cycle and then works for a while, long enough
// that a request from another thread usually finds a cycle under way.
class BusyReader : public RTC::DataFlowComponentBase {
 public:
  explicit BusyReader(RTC::Manager* manager) : DataFlowComponentBase(manager) {}
  ~BusyReader() override { recordBusyEvent("destroyed"); }

  RTC::ReturnCode_t onInitialize() override {
    addInPort("in", m_inPort);
    return RTC::RTC_OK;
  }
  RTC::ReturnCode_t onActivated(RTC::UniqueId) override { return note("onActivated"); }
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId) override { return note("onDeactivated"); }
  RTC::ReturnCode_t onShutdown(RTC::UniqueId) override { return note("onShutdown"); }
  RTC::ReturnCode_t onFinalize() override { return note("onFinalize"); }
  RTC::ReturnCode_t onExecute(RTC::UniqueId) override {
    while (m_inPort.read()) m_received.push_back(m_in.data);
    double sink = 0.0;
    for (int i = 1; i <= 20000; ++i) sink += std::sqrt(static_cast<double>(i));
    m_work = sink;
    ++cycles;
    return RTC::RTC_OK;
  }

  // Read by the test thread only once a transition has synchronised with
  // the context thread.
  std::vector<int> m_received;
  std::atomic<int> cycles{0};
  RTC::TimedLong m_in;
  RTC::InPort<RTC::TimedLong> m_inPort{"in", m_in, 64};

 private:
  RTC::ReturnCode_t note(const char* event) {
    recordBusyEvent(event);
    return RTC::RTC_OK;
  }
  volatile double m_work = 0.0;
};

bool registerBusyReader(RTC::Manager* manager) {
  const char* profile[] = {"type_name", "BusyReader", "category", "Test", ""};
  coil::Properties properties(profile);
  return manager->registerFactory(properties, RTC::Create<BusyReader>, RTC::Delete<BusyReader>);
}

class Concurrency : public ManagerTest {
 protected:
  BusyReader* createRunning() {
    clearBusyEvents();
    start({"-o", "exec_cxt.periodic.rate:1000"});
    registerBusyReader(m_manager);
    auto* comp = static_cast<BusyReader*>(m_manager->createComponent("BusyReader"));
    if (comp != nullptr && comp->get_context(0)->activate_component(comp) != RTC::RTC_OK) return nullptr;
    return comp;
  }
};

}  // namespace

TEST_F(Concurrency, WritesFromAnotherThreadReachThePeriodicReaderInOrder) {
  BusyReader* comp = createRunning();
  ASSERT_NE(nullptr, comp);
  RTC::TimedLong sent;
  RTC::OutPort<RTC::TimedLong> out("out", sent);
  ASSERT_TRUE(out.connect(comp->m_inPort));
  const int kSamples = 3000;
  std::thread writer([&] {
    for (int value = 1; value <= kSamples; ++value) {
      sent.data = value;
      out.write();
    }
  });
  writer.join();
  ASSERT_TRUE(eventually([comp] { return comp->m_inPort.isEmpty(); }));
  // Deactivation runs on the context thread: afterwards its writes are ours to read.
  ASSERT_EQ(RTC::RTC_OK, comp->get_context(0)->deactivate_component(comp));

  const std::vector<int>& received = comp->m_received;
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(kSamples, received.back()) << "the newest sample is never the one dropped";
  for (std::size_t i = 1; i < received.size(); ++i) {
    ASSERT_LT(received[i - 1], received[i]) << "no sample twice, none out of order";
  }
}

TEST_F(Concurrency, TransitionsFromSeveralThreadsWhileRunningThenAStop) {
  BusyReader* comp = createRunning();
  ASSERT_NE(nullptr, comp);
  RTC::ExecutionContext_var context = comp->get_context(0);
  std::atomic<int> activations{1};  // createRunning's
  std::atomic<int> unexpected{0};
  const auto toggle = [&] {
    for (int round = 0; round < 100; ++round) {
      const RTC::ReturnCode_t down = context->deactivate_component(comp);
      const RTC::ReturnCode_t up = context->activate_component(comp);
      if (up == RTC::RTC_OK) ++activations;
      for (RTC::ReturnCode_t code : {down, up}) {
        if (code != RTC::RTC_OK && code != RTC::PRECONDITION_NOT_MET) ++unexpected;
      }
    }
  };
  std::thread first(toggle);
  std::thread second(toggle);
  ASSERT_TRUE(eventually([&] { return activations > 20; }));
  // Stopping while the others keep asking: those later requests are refused.
  EXPECT_EQ(RTC::RTC_OK, context->stop());
  first.join();
  second.join();

  EXPECT_EQ(0, unexpected.load());
  EXPECT_EQ(RTC::INACTIVE_STATE, context->get_component_state(comp));
  EXPECT_EQ(RTC::PRECONDITION_NOT_MET, context->activate_component(comp)) << "the context has stopped";
  // Every successful transition ran its callback exactly once, alternately.
  Events expected;
  for (int n = 0; n < activations; ++n) {
    expected.push_back("onActivated");
    expected.push_back("onDeactivated");
  }
  expected.push_back("onShutdown");
  EXPECT_EQ(expected, busyEvents());
}

TEST_F(Concurrency, ShutdownWhileABusyCycleRunsAndAWriterKeepsWriting) {
  BusyReader* comp = createRunning();
  ASSERT_NE(nullptr, comp);
  RTC::TimedLong sent;
  RTC::OutPort<RTC::TimedLong> out("out", sent);  // outlives the component
  ASSERT_TRUE(out.connect(comp->m_inPort));
  std::atomic<bool> connectionEnded{false};
  std::thread writer([&] {
    // Ends when deleting the reader ends the connection.
    for (int value = 1; value <= 10000000 && !connectionEnded; ++value) {
      sent.data = value;
      connectionEnded = !out.write();
    }
  });
  ASSERT_TRUE(eventually([comp] { return comp->cycles >= 3; }));
  m_manager->shutdown();
  writer.join();

  EXPECT_TRUE(connectionEnded);
  EXPECT_TRUE(m_manager->getComponents().empty());
  EXPECT_EQ((Events{"onActivated", "onDeactivated", "onShutdown", "onFinalize", "destroyed"}), busyEvents());
}

TEST(ManagerSignals, SigtermWhileABusyCycleRunsShutsDownInOrder) {
  EXPECT_EXIT(
      {
        clearBusyEvents();
        RTC::Manager* manager = initManager({"-o", "logger.enable:NO", "-o", "exec_cxt.periodic.rate:1000"});
        registerBusyReader(manager);
        auto* comp = static_cast<BusyReader*>(manager->createComponent("BusyReader"));
        comp->get_context(0)->activate_component(comp);
        manager->runManager(true);
        if (!eventually([comp] { return comp->cycles >= 3; })) _exit(4);
        kill(getpid(), SIGTERM);
        manager->join();
        for (const std::string& event : busyEvents()) std::fprintf(stderr, "%s\n", event.c_str());
        _exit(manager->getComponents().empty() ? 0 : 3);
      },
      testing::ExitedWithCode(0), "^onActivated\nonDeactivated\nonShutdown\nonFinalize\ndestroyed\n$");
}
