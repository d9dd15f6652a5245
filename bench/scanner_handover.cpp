// scanner_handover [SCANS]: the time from the last byte of a scan reply,
// written to the scanner's pseudo-terminal, to the scan's arrival on the
// in-port ScipScanner's out-port is connected to. The sensor is the
// emulator's core, driven one scan at a time; prints the median, 99th
// percentile and largest of SCANS (200) hand-overs in microseconds, and the
// same for the bare pseudo-terminal (a thread that only reads the bytes),
// the part of the time that is the kernel's and the scheduler's.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <termios.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "component/tests/TestRuntime.h"
#include "tools/recorder/tests/RangeProbe.h"
#include "tools/scanner/ScipScanner.h"
#include "tools/scipemulator/SensorEmulator.h"

namespace {

using Clock = std::chrono::steady_clock;

void writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) done += static_cast<std::size_t>(n);
  }
}

// Answers what the scanner sends until it has asked for scans.
bool serveStartUp(int master, SensorEmulator& sensor) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  char buffer[512];
  while (sensor.nextDueMs() < 0) {
    if (Clock::now() > deadline) return false;
    pollfd waiting = {master, POLLIN, 0};
    if (::poll(&waiting, 1, 10) <= 0) continue;
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n <= 0) continue;
    sensor.receive(buffer, static_cast<std::size_t>(n), 0);
    writeAll(master, sensor.takeOutput());
  }
  return true;
}

void printTimes(const char* what, std::vector<double>& microseconds) {
  std::sort(microseconds.begin(), microseconds.end());
  std::printf("%s, %zu scans: median %.0f us, p99 %.0f us, max %.0f us\n", what, microseconds.size(),
              microseconds[microseconds.size() / 2], microseconds[microseconds.size() * 99 / 100],
              microseconds.back());
}

// The pseudo-terminal alone: a reader thread counts the frame's bytes in.
std::vector<double> bareTerminal(const std::string& frame, int scans) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ::grantpt(master);
  ::unlockpt(master);
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  termios raw;
  ::tcgetattr(slave, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(slave, TCSANOW, &raw);
  std::atomic<int> framesIn(0);
  std::thread reader([&] {
    std::size_t bytes = 0;
    char buffer[4096];
    while (framesIn < scans) {
      pollfd waiting = {slave, POLLIN, 0};
      if (::poll(&waiting, 1, 100) <= 0) continue;
      const ssize_t n = ::read(slave, buffer, sizeof buffer);
      if (n > 0) bytes += static_cast<std::size_t>(n);
      if (bytes >= frame.size()) {
        bytes -= frame.size();
        ++framesIn;
      }
    }
  });
  std::vector<double> microseconds;
  for (int k = 0; k < scans; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    writeAll(master, frame);
    const auto written = Clock::now();
    while (framesIn <= k) std::this_thread::yield();
    microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - written).count());
  }
  reader.join();
  ::close(slave);
  ::close(master);
  return microseconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int scans = argc > 1 ? std::atoi(argv[1]) : 200;
  if (scans < 1) {
    std::fprintf(stderr, "usage: %s [SCANS]\n", argv[0]);
    return 2;
  }
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return 1;
  ScipModel model;
  findScipModel("URG-04LX", model);
  std::vector<ScanRecord> log(static_cast<std::size_t>(scans) + 1);
  for (std::size_t k = 0; k < log.size(); ++k) {
    log[k].t_ms = static_cast<int64_t>(100 * k);
    log[k].ranges.assign(726, 1000.0 + static_cast<double>(k));
  }
  SensorEmulator sensor(model, log, EmulatorSettings());
  sensor.connect(0);

  testrt::prepareTests();
  ScipScannerInit(&testrt::manager());
  registerRangeProbe();
  RTC::RTObject_impl* scanner = testrt::create(std::string("ScipScanner?conf.default.device=") + ::ptsname(master));
  RTC::RTObject_impl* probe = testrt::create("RangeProbe");
  if (!scanner || !probe || !testrt::connect(scanner, "range_data", probe, "receive") ||
      testrt::activate(scanner) != RTC::ACTIVE_STATE || !serveStartUp(master, sensor)) {
    std::fprintf(stderr, "the scanner did not start\n");
    return 1;
  }
  RTC::InPort<RTC::RangeData>& arrivals = dynamic_cast<RangeProbe&>(*probe).receivePort;
  std::vector<double> microseconds;
  std::string frame;
  for (int k = 0; k < scans; ++k) {
    sensor.advance(sensor.nextDueMs());
    frame = sensor.takeOutput();
    // The scanner is idle between scans, as with a sensor at 10 Hz.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    writeAll(master, frame);
    const auto written = Clock::now();
    const auto deadline = written + std::chrono::seconds(1);
    // Yielding: on a busy machine a pure spin would hold up the reader thread.
    while (!arrivals.isNew() && Clock::now() < deadline) std::this_thread::yield();
    if (!arrivals.isNew()) {
      std::fprintf(stderr, "scan %d did not arrive\n", k);
      return 1;
    }
    arrivals.read();
    microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - written).count());
  }
  testrt::destroy(probe);
  testrt::destroy(scanner);
  testrt::stopManager();
  printTimes("hand-over, last reply byte to port sample", microseconds);
  std::vector<double> bare = bareTerminal(frame, scans);
  printTimes("bare pseudo-terminal, last byte written to last byte read", bare);
  return 0;
}
