// ScipScanner against the sensor emulator (a child process), over a
// pseudo-terminal and over TCP: every scan of a log arrives in order with
// its ranges, damaged scans are dropped and counted, and the component
// rides out lost links, silence, sensor errors and a vanished sensor.
// Deadlines only end a failing test, so they are generous for a loaded
// machine; the 2 s allowed for scans to resume is what is checked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// The data types first: the 1.1 series declares their Any operators at
// global scope, which its port templates only see if declared before them.
#include "tools/recorder/tests/RangeProbe.h"
#include "component/tests/TestRuntime.h"
#include "tools/scanner/ScipScanner.h"
#include "tools/scip/ScipReplyWriter.h"

namespace {

using Clock = std::chrono::steady_clock;
const int kSteps = 726, kScans = 200;  // URG-04LX: steps 0..725, measured from 44

// Scan k of the test log: distinct at every step and in every scan.
double logRange(int k, int step) { return 500 + (step * 13 + k * 101) % 4000; }

void registerTypes() {
  static const bool registered = (ScipScannerInit(&testrt::manager()), registerRangeProbe(), true);
  (void)registered;
}

bool waitFor(const std::function<bool()>& done, int seconds = 30) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (!done() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

struct Arrival {
  int index;  // in the log, -1 for none of its scans
  Clock::time_point at;
  double tmMs;
};

class LaserLink : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    registerTypes();
    std::ofstream log(m_log);
    for (int k = 0; k < kScans; ++k) {
      log << 1000 + 100 * k;
      for (int s = 0; s < kSteps; ++s) log << ' ' << logRange(k, s);
      log << '\n';
    }
  }
  void TearDown() override { stop(); ::unlink(m_log.c_str()); }
  void stop() {
    for (RTC::RTObject_impl* comp : {m_scanner, m_probe})
      if (comp) testrt::destroy(comp);
    m_scanner = m_probe = nullptr;
    killEmulator();
    m_arrivals.clear();
  }

  // Serves the log at 25 scans a second; the device comes from the
  // emulator's first line ("tcp PORT"), or is the pseudo-terminal's link.
  void startEmulator(std::vector<std::string> flags, int port = 0) {
    const bool tcp = std::string(GetParam()) == "tcp";
    flags.insert(flags.end(), {"--rate", "4", tcp ? "--tcp" : "--link", tcp ? std::to_string(port) : m_link, m_log});
    flags.insert(flags.begin(), STROLVEX_SCIP_EMULATOR);
    std::vector<char*> argv;
    for (std::string& word : flags) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    if ((m_emulator = ::fork()) == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    pollfd waiting = {out[0], POLLIN, 0};
    for (char c = 0; c != '\n' && ::poll(&waiting, 1, 30000) > 0 && ::read(out[0], &c, 1) == 1;) line += c;
    ::close(out[0]);
    ASSERT_TRUE(line.compare(0, tcp ? 4 : 3, tcp ? "tcp " : "pty") == 0) << line;
    m_device = tcp ? "tcp:127.0.0.1:" + line.substr(4, line.size() - 5) : m_link;
  }
  void killEmulator() {
    if (m_emulator > 0 && ::kill(m_emulator, SIGKILL) == 0) ::waitpid(m_emulator, nullptr, 0);
    m_emulator = -1;
    ::unlink(m_link.c_str());
  }

  void startScanner(const std::string& device, const std::string& conf = "") {
    m_scanner = testrt::create("ScipScanner?conf.default.device=" + device + conf);
    m_probe = testrt::create("RangeProbe");
    ASSERT_TRUE(m_scanner != nullptr && m_probe != nullptr);
    // Room for the whole log: a starved test thread must not lose scans.
    ASSERT_EQ(testrt::connect(RTC::PortService_var(testrt::port(m_scanner, "range_data")),
                              RTC::PortService_var(testrt::port(m_probe, "receive")),
                              {{"interface_type", "corba_cdr"}, {"dataflow_type", "push"},
                               {"subscription_type", "flush"}, {"buffer.length", "256"}}),
              RTC::RTC_OK);
    ASSERT_EQ(testrt::activate(m_scanner), RTC::ACTIVE_STATE);
  }
  ScannerCounts counts() { return dynamic_cast<ScipScanner&>(*m_scanner).counts(); }

  // Takes scans until there are `count`.
  void collect(std::size_t count) {
    RangeProbe& probe = dynamic_cast<RangeProbe&>(*m_probe);
    waitFor([&] {
      for (const RTC::RangeData& data = probe.received; probe.receivePort.isNew();) {
        probe.receivePort.read();
        int index = -1;
        for (int k = 0; k < kScans && index < 0 && data.ranges.length() == kSteps; ++k) {
          bool same = true;
          for (int s = 0; s < kSteps && same; ++s) same = data.ranges[s] == (s < 44 ? 0.0 : logRange(k, s));
          if (same) index = k;
        }
        m_arrivals.push_back({index, Clock::now(), data.tm.sec * 1e3 + data.tm.nsec / 1e6});
      }
      return m_arrivals.size() >= count;
    });
  }
  bool received(int index) const {
    return std::any_of(m_arrivals.begin(), m_arrivals.end(), [&](const Arrival& a) { return a.index == index; });
  }

  std::string m_log = "/tmp/strolvex-scanner-" + std::to_string(getpid()) + ".log",
              m_link = "/tmp/strolvex-scanner-pty-" + std::to_string(getpid()), m_device;
  pid_t m_emulator = -1;
  RTC::RTObject_impl* m_scanner = nullptr;
  RTC::RTObject_impl* m_probe = nullptr;
  std::vector<Arrival> m_arrivals;
};

}  // namespace

TEST_P(LaserLink, EveryScanArrivesInOrderDamagedOnesAreDroppedAndCountedAndLinkFaultsRiddenOut) {
  struct Case {
    const char* flag;
    int n;
    bool exact;  // every other scan arrives (garbage may take a neighbour with it)
    long connections, resets;
    const char* timeoutMs;  // short only where silence is to be noticed
  };
  const Case cases[] = {{"", 0, true, 1, 0, "30000"},
                        {"--bad-checksum-every", 5, true, 1, 0, "30000"}, {"--garbage-every", 4, false, 1, 0, "30000"},
                        {"--drop-after", 8, true, 2, 0, "30000"},         {"--silence-after", 8, true, 2, 0, "300"},
                        {"--error-status-after", 8, true, 1, 1, "30000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    testrt::LogTail log;
    startEmulator(*c.flag ? std::vector<std::string>{c.flag, std::to_string(c.n)} : std::vector<std::string>{});
    startScanner(m_device, std::string("&conf.default.timeout_ms=") + c.timeoutMs);
    collect(20);
    ASSERT_GE(m_arrivals.size(), 20u);
    // Scans of the log, none over 2 s after the one before; without
    // reconnections in order (stamps never going back; the sensor clock may
    // hold one when delivery speeds up), each damaged one dropped, the rest there.
    const bool damages = c.connections == 1 && c.resets == 0;
    for (std::size_t k = 0; k < m_arrivals.size(); ++k) {
      const Arrival &at = m_arrivals[k], &before = m_arrivals[k ? k - 1 : 0];
      EXPECT_TRUE(at.index >= 0 && (k == 0 || (at.at - before.at < std::chrono::seconds(2) &&
                                               (damages ? at.index > before.index && at.tmMs >= before.tmMs
                                                        : at.index != before.index))))
          << "scan " << k << ": " << at.index << " after " << before.index << ", "
          << std::chrono::duration<double>(at.at - before.at).count() << " s later, stamped " << at.tmMs - before.tmMs << " ms later";
    }
    int damaged = 0;
    for (int k = 0; damages && k <= m_arrivals.back().index; ++k) {
      const bool hit = c.n > 0 && (k + 1) % c.n == 0;
      damaged += hit;
      EXPECT_TRUE((!hit && !c.exact) || received(k) != hit) << "scan " << k;
    }
    EXPECT_TRUE(c.exact ? counts().dropped == damaged : counts().dropped >= damaged) << counts().dropped;
    EXPECT_TRUE(c.connections == 1 ? counts().connections == 1 : counts().connections >= 2) << counts().connections;
    EXPECT_EQ(counts().resets, c.resets);
    EXPECT_EQ(c.resets != 0, log.text().find("error status 50; resetting") != std::string::npos);
    const RTC::RangerConfig& config = dynamic_cast<RangeProbe&>(*m_probe).received.config;
    const double step = 2 * 3.141592653589793 / 1024;  // the geometry read from the sensor, and reported
    EXPECT_TRUE(std::abs(config.angularRes - step) + std::abs(config.minAngle + 384 * step) +
                    std::abs(config.maxAngle - 341 * step) < 1e-12 && config.minRange == 0.02 &&
                config.maxRange == 5.6 && config.frequency == 10.0);
    for (const char* line : {"URG-04LX", "LRF_Total_steps: 1024", "LRFdata_mid: 384", "LRFdata_min: 44"})
      EXPECT_NE(log.text().find(line), std::string::npos) << line;
    stop();
  }
}

TEST_P(LaserLink, ASensorMissingAtActivationOrVanishedIsPickedUpWhenItComesBack) {
  testrt::LogTail log;
  const int port = 20000 + getpid() % 20000;
  startScanner(std::string(GetParam()) == "tcp" ? "tcp:127.0.0.1:" + std::to_string(port) : m_link);
  EXPECT_TRUE(waitFor([&] { return log.text().find("trying again every second") != std::string::npos; }));
  for (int round = 0; round < 2; ++round) {
    startEmulator({}, port);
    const auto back = Clock::now();
    const std::size_t before = m_arrivals.size();
    collect(before + 5);
    ASSERT_GE(m_arrivals.size(), before + 5) << "round " << round;
    EXPECT_LT(m_arrivals[before].at - back, std::chrono::seconds(2)) << "round " << round;
    killEmulator();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // gone for a while
  }
}

TEST_P(LaserLink, AStepRangeTheSensorLacksIsRefusedWithTheSensorsOwn) {
  testrt::LogTail log;
  startEmulator({});
  startScanner(m_device, "&conf.default.first_step=0");
  waitFor([&] { return testrt::tick(m_scanner), testrt::state(m_scanner) != RTC::ACTIVE_STATE; });
  EXPECT_EQ(testrt::state(m_scanner), RTC::ERROR_STATE);
  EXPECT_NE(log.text().find("steps 0..725 (first_step, last_step) are not within URG-04LX"), std::string::npos);
  EXPECT_NE(log.text().find("own 44..725"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Transports, LaserLink, ::testing::Values("pty", "tcp"));

// A device that answers VV with another protocol version, or not at all.
TEST(ScipScanner, ASensorThatDoesNotSpeakScip2IsToldApartAndTriedAgain) {
  registerTypes();
  for (const bool answers : {true, false}) {
    testrt::LogTail log;
    const std::string logged = answers ? "speaks 'SCIP 1.1'; this component speaks SCIP 2.0"
                                       : "does not answer in SCIP 2.0 (no reply to VV); is it a SCIP 2.0 "
                                         "sensor, and is its bit rate 115200?";
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    RTC::RTObject_impl* scanner =
        testrt::create(std::string("ScipScanner?conf.default.timeout_ms=100&conf.default.device=") + ::ptsname(master));
    ASSERT_EQ(testrt::activate(scanner), RTC::ACTIVE_STATE);
    std::string heard;
    waitFor([&] {
      char buffer[256];
      const ssize_t n = ::read(master, buffer, sizeof buffer);
      heard.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
      for (std::size_t end; answers && (end = heard.find('\n')) != std::string::npos; heard.erase(0, end + 1)) {
        const std::string echo = heard.substr(0, end);
        const std::string reply = echo == "VV" ? scipInfoReplyBytes(echo, {{"PROT", "SCIP 1.1"}}) : scipReplyBytes(echo, "00");
        EXPECT_EQ(::write(master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
      }
      return log.text().find(logged) != std::string::npos;
    });
    EXPECT_NE(log.text().find(logged), std::string::npos) << log.text();
    EXPECT_EQ(testrt::state(scanner), RTC::ACTIVE_STATE);
    EXPECT_EQ(dynamic_cast<ScipScanner&>(*scanner).counts().connections, 0);
    testrt::destroy(scanner);
    ::close(master);
  }
}
