// ScipScanner against the sensor emulator, over a pseudo-terminal and over
// TCP: every scan of a log arrives in order with its ranges, damaged scans
// are dropped and counted, and the component rides out lost links, a
// vanished sensor, silence and sensor errors by itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "component/tests/TestRuntime.h"
#include "tools/recorder/tests/RangeProbe.h"
#include "tools/scanner/ScipScanner.h"
#include "tools/scanner/tests/EmulatorProcess.h"
#include "tools/scip/ScipReplyWriter.h"

namespace {

using Clock = std::chrono::steady_clock;
const int kSteps = 726;  // URG-04LX, steps 0..725, measured from 44

// Scan k of the test log: distinct at every step and in every scan, all
// within the sensor's 20..5600 mm.
double logRange(int k, int step) { return 500 + (step * 13 + k * 101) % 4000; }

std::string writeLog(int scans) {
  const std::string path = "/tmp/strolvex-scanner-" + std::to_string(getpid()) + ".log";
  std::ofstream log(path);
  for (int k = 0; k < scans; ++k) {
    log << 1000 + 100 * k;
    for (int s = 0; s < kSteps; ++s) log << ' ' << logRange(k, s);
    log << '\n';
  }
  return path;
}

// Which scan of the log data holds, or -1 if none: the steps measured
// carry the log's ranges, the others no echo.
int logIndexOf(const RTC::RangeData& data, int scans) {
  if (data.ranges.length() != static_cast<CORBA::ULong>(kSteps)) return -1;
  for (int k = 0; k < scans; ++k) {
    bool same = true;
    for (int s = 0; s < kSteps && same; ++s) same = data.ranges[s] == (s < 44 ? 0.0 : logRange(k, s));
    if (same) return k;
  }
  return -1;
}

void registerTypes() {
  static const bool registered = [] {
    ScipScannerInit(&testrt::manager());
    registerRangeProbe();
    return true;
  }();
  (void)registered;
}

struct Arrival {
  int index;
  Clock::time_point at;
  double tmMs;
};

class LaserLink : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    registerTypes();
    m_linkPath = "/tmp/strolvex-scanner-pty-" + std::to_string(getpid());
  }
  void TearDown() override {
    for (RTC::RTObject_impl* comp : {m_scanner, m_probe})
      if (comp) testrt::destroy(comp);
    m_emulator.kill();
    ::unlink(m_linkPath.c_str());
    if (!m_log.empty()) ::unlink(m_log.c_str());
  }

  bool tcp() const { return std::string(GetParam()) == "tcp"; }

  // Serves a log of `scans` scans at 25 scans a second; port 0 picks one.
  void startEmulator(int scans, std::vector<std::string> flags, int port = 0) {
    if (m_log.empty()) {
      m_log = writeLog(scans);
      m_scans = scans;
    }
    flags.insert(flags.end(), {"--rate", "4"});
    if (tcp())
      flags.insert(flags.end(), {"--tcp", std::to_string(port)});
    else
      flags.insert(flags.end(), {"--link", m_linkPath});
    flags.push_back(m_log);
    ASSERT_TRUE(m_emulator.start(flags));
  }

  void startScanner(const std::string& device, const std::string& conf = "") {
    m_scanner = testrt::create("ScipScanner?conf.default.device=" + device + conf);
    m_probe = testrt::create("RangeProbe");
    ASSERT_TRUE(m_scanner != nullptr && m_probe != nullptr);
    ASSERT_TRUE(testrt::connect(m_scanner, "range_data", m_probe, "receive"));
    ASSERT_EQ(testrt::activate(m_scanner), RTC::ACTIVE_STATE);
  }

  ScannerCounts counts() { return dynamic_cast<ScipScanner&>(*m_scanner).counts(); }

  // Takes scans until done() says so or `seconds` pass.
  void collect(double seconds, const std::function<bool()>& done) {
    RangeProbe& probe = dynamic_cast<RangeProbe&>(*m_probe);
    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (Clock::now() < deadline && !done()) {
      while (probe.receivePort.isNew()) {
        probe.receivePort.read();
        const RTC::Time& tm = probe.received.tm;
        m_arrivals.push_back({logIndexOf(probe.received, m_scans), Clock::now(), tm.sec * 1e3 + tm.nsec / 1e6});
        m_received = probe.received;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  bool received(int index) const {
    for (const Arrival& arrival : m_arrivals)
      if (arrival.index == index) return true;
    return false;
  }
  // Every scan is one of the log's, and within each run of the log they
  // come in order and in time (a restarted emulator starts it over).
  void expectLogScansInOrder() const {
    for (std::size_t k = 0; k < m_arrivals.size(); ++k) {
      EXPECT_GE(m_arrivals[k].index, 0) << "scan " << k << " is none of the log's";
      if (k > 0) {
        EXPECT_NE(m_arrivals[k].index, m_arrivals[k - 1].index) << "scan " << k << " twice";
      }
    }
  }
  double longestGapSeconds() const {
    double longest = 0;
    for (std::size_t k = 1; k < m_arrivals.size(); ++k)
      longest = std::max(longest, std::chrono::duration<double>(m_arrivals[k].at - m_arrivals[k - 1].at).count());
    return longest;
  }

  std::string m_linkPath, m_log;
  int m_scans = 0;
  EmulatorProcess m_emulator;
  RTC::RTObject_impl* m_scanner = nullptr;
  RTC::RTObject_impl* m_probe = nullptr;
  std::vector<Arrival> m_arrivals;
  RTC::RangeData m_received;
};

}  // namespace

TEST_P(LaserLink, EveryScanArrivesInOrderWithTheLogsRangesAndTheSensorsGeometry) {
  testrt::LogTail log;
  startEmulator(30, {});
  startScanner(m_emulator.device());
  collect(8, [&] { return received(29); });
  ASSERT_EQ(m_arrivals.size(), 30u);
  for (int k = 0; k < 30; ++k) {
    EXPECT_EQ(m_arrivals[k].index, k);
    if (k > 0) {
      EXPECT_GT(m_arrivals[k].tmMs, m_arrivals[k - 1].tmMs) << "scan " << k;
    }
  }
  EXPECT_EQ(counts().published, 30);
  EXPECT_EQ(counts().dropped, 0);
  const double kPi = 3.141592653589793;
  EXPECT_NEAR(m_received.config.angularRes, 2 * kPi / 1024, 1e-12);
  EXPECT_NEAR(m_received.config.minAngle, -0.75 * kPi, 1e-12);
  EXPECT_DOUBLE_EQ(m_received.config.maxRange, 5.6);
  EXPECT_DOUBLE_EQ(m_received.config.frequency, 10.0);
  for (const char* line : {"URG-04LX", "Category.Strolvex.conf.default.LRF_Total_steps: 1024",
                           "Category.Strolvex.conf.default.LRFdata_mid: 384",
                           "Category.Strolvex.conf.default.LRFdata_min: 44",
                           "Category.Strolvex.conf.default.LRFdata_max: 725"})
    EXPECT_NE(log.text().find(line), std::string::npos) << line;
}

TEST_P(LaserLink, DamagedScansAreDroppedAndCountedWhileTheOthersArrive) {
  struct Case {
    const char* flag;
    int every;
    bool exact;  // garbage may take a neighbouring scan with it
  };
  for (const Case& c : {Case{"--bad-checksum-every", 5, true}, Case{"--garbage-every", 4, false}}) {
    SCOPED_TRACE(c.flag);
    startEmulator(22, {c.flag, std::to_string(c.every)});
    startScanner(m_emulator.device());
    collect(8, [&] { return received(21); });
    expectLogScansInOrder();
    int damaged = 0;
    for (int k = 0; k < 22; ++k) {
      const bool hit = (k + 1) % c.every == 0;
      damaged += hit;
      if (hit) {
        EXPECT_FALSE(received(k)) << "damaged scan " << k << " published";
      }
      if (!hit && c.exact) {
        EXPECT_TRUE(received(k)) << "scan " << k << " lost";
      }
    }
    EXPECT_GE(static_cast<int>(m_arrivals.size()), 22 - 2 * damaged);
    if (c.exact) {
      EXPECT_EQ(counts().dropped, damaged);
    }
    EXPECT_GE(counts().dropped, damaged);
    TearDown();
    m_scanner = m_probe = nullptr;
    m_arrivals.clear();
    m_log.clear();
  }
}

TEST_P(LaserLink, ScansResumeAfterALostLinkSilenceOrASensorError) {
  struct Case {
    const char* flag;
    long connections, resets;
  };
  for (const Case& c : {Case{"--drop-after", 2, 0}, Case{"--silence-after", 2, 0}, Case{"--error-status-after", 1, 1}}) {
    SCOPED_TRACE(c.flag);
    testrt::LogTail log;
    startEmulator(200, {c.flag, "8"});
    startScanner(m_emulator.device(), "&conf.default.timeout_ms=300");
    collect(8, [&] { return m_arrivals.size() >= 20; });
    expectLogScansInOrder();
    EXPECT_GE(m_arrivals.size(), 20u);
    EXPECT_LT(longestGapSeconds(), 2.0);
    EXPECT_GE(counts().connections, c.connections);
    EXPECT_EQ(counts().resets, c.resets);
    EXPECT_EQ(counts().dropped, 0);
    if (c.resets) {
      EXPECT_NE(log.text().find("error status"), std::string::npos);
    }
    TearDown();
    m_scanner = m_probe = nullptr;
    m_arrivals.clear();
    m_log.clear();
  }
}

TEST_P(LaserLink, ASensorThatIsMissingOrVanishesIsPickedUpWhenItComesBack) {
  testrt::LogTail log;
  m_log = writeLog(200);
  m_scans = 200;
  const int port = 20000 + getpid() % 20000;
  startScanner(tcp() ? "tcp:127.0.0.1:" + std::to_string(port) : m_linkPath);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_NE(log.text().find("trying again every second"), std::string::npos);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "missing at activation" : "vanished");
    startEmulator(200, {}, port);
    const auto back = Clock::now();
    const std::size_t before = m_arrivals.size();
    collect(4, [&] { return m_arrivals.size() >= before + 5; });
    ASSERT_GE(m_arrivals.size(), before + 5);
    EXPECT_LT(std::chrono::duration<double>(m_arrivals[before].at - back).count(), 2.0);
    m_emulator.kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    collect(0.2, [] { return false; });
  }
  expectLogScansInOrder();
}

TEST_P(LaserLink, AStepRangeTheSensorLacksIsRefusedWithTheSensorsOwn) {
  testrt::LogTail log;
  startEmulator(30, {});
  startScanner(m_emulator.device(), "&conf.default.first_step=0");
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (testrt::state(m_scanner) == RTC::ACTIVE_STATE && Clock::now() < deadline) {
    testrt::tick(m_scanner);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(testrt::state(m_scanner), RTC::ERROR_STATE);
  EXPECT_NE(log.text().find("own 44..725"), std::string::npos) << log.text();
  EXPECT_TRUE(m_arrivals.empty());
}

TEST(ScipScanner, ASensorThatDoesNotSpeakScip2IsToldApartAndTriedAgain) {
  struct Case {
    bool answers;  // a sensor of another protocol version, or one that stays mute
    const char* logged;
  };
  for (const Case& c : {Case{true, "speaks 'SCIP 1.1'; this component speaks SCIP 2.0"},
                        Case{false, "does not answer in SCIP 2.0 (no reply to VV); is it a SCIP 2.0 sensor, and "
                                    "is its bit rate 115200?"}}) {
    registerTypes();
    testrt::LogTail log;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    RTC::RTObject_impl* scanner =
        testrt::create(std::string("ScipScanner?conf.default.timeout_ms=100&conf.default.device=") + ::ptsname(master));
    ASSERT_TRUE(scanner != nullptr);
    ASSERT_EQ(testrt::activate(scanner), RTC::ACTIVE_STATE);
    std::string heard;
    const auto until = Clock::now() + std::chrono::milliseconds(1200);
    while (Clock::now() < until && log.text().find(c.logged) == std::string::npos) {
      pollfd waiting = {master, POLLIN, 0};
      char buffer[256];
      const ssize_t n = ::poll(&waiting, 1, 10) > 0 ? ::read(master, buffer, sizeof buffer) : 0;
      if (n > 0) heard.append(buffer, static_cast<std::size_t>(n));
      for (std::size_t end; c.answers && (end = heard.find('\n')) != std::string::npos; heard.erase(0, end + 1)) {
        const std::string echo = heard.substr(0, end);
        const std::string reply = echo == "VV" ? scipInfoReplyBytes(echo, {{"PROT", "SCIP 1.1"}}) : scipReplyBytes(echo, "00");
        ASSERT_EQ(::write(master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
      }
    }
    EXPECT_NE(log.text().find(c.logged), std::string::npos) << log.text();
    EXPECT_EQ(testrt::state(scanner), RTC::ACTIVE_STATE);
    EXPECT_EQ(dynamic_cast<ScipScanner&>(*scanner).counts().connections, 0);
    testrt::destroy(scanner);
    ::close(master);
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, LaserLink, ::testing::Values("pty", "tcp"));
