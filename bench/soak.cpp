// strolvex-soak [SCANS]: runs SCANS scans (10 million unless given) through
// one component's cycle and checks that its memory stays flat. The scans
// loop over ten minutes of a passing crowd and the busy scene, with a
// sensor glitch now and then: unreadable readings, a short scan. The clock
// starts just before its 32-bit wrap, and the component is deactivated and
// activated again every 2.5 million scans.
//
// Prints the memory every million scans; exits 1 if the heap in use after
// the first million ever differs from what it was then.
#include <rtm/Manager.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// From the AddressSanitizer runtime (gcc ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "bench/BusyScene.h"
#include "bench/DrivenStrolvex.h"
#include "tools/simulator/Scene.h"

namespace {

const int64_t kCheckpoint = 1000000;
const int64_t kReactivation = 2500000;
const int64_t kScanPeriodMs = 100;

std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// Read without stdio: opening a FILE leaves an allocation behind the first
// time, which would show as heap growth.
long residentKb() {
  char text[128] = {};
  const int fd = open("/proc/self/statm", O_RDONLY);
  if (fd < 0) return -1;
  const ssize_t length = read(fd, text, sizeof text - 1);
  close(fd);
  if (length <= 0) return -1;
  char* residentField = nullptr;
  std::strtol(text, &residentField, 10);
  return std::strtol(residentField, nullptr, 10) * (sysconf(_SC_PAGESIZE) / 1024);
}

// Ten minutes of people passing at 10 Hz, then the busy scene.
std::vector<std::vector<double>> soakScenes() {
  std::vector<std::vector<double>> scans;
  SceneSettings settings;
  settings.crowd.seed = 11;
  settings.crowd.peoplePerMinute = 40.0;
  Scene crowd(settings);
  for (int n = 0; n < 6000; ++n) {
    crowd.advanceTo(n / 10.0);
    scans.emplace_back();
    crowd.render(scans.back());
  }
  const BusyScene busy(6);
  ScanRecord scan;
  for (int n = 1; n <= 400; ++n) {
    busy.render(n, scan);
    scans.push_back(scan.ranges);
  }
  return scans;
}

// Some scans arrive damaged: NaN, infinite and negative readings in the
// middle of the view, and now and then a scan cut short.
const std::vector<double>& glitched(const std::vector<double>& scan, int64_t n,
                                    std::vector<double>& damaged) {
  if (n % 997 != 0) return scan;
  damaged = scan;
  if (n % 9970 == 0) {
    damaged.resize(100);
    return damaged;
  }
  const double kBad[] = {std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), -1.0, 1e300};
  for (int k = 0; k < 40; ++k) damaged[300 + 3 * k] = kBad[k % 5];
  return damaged;
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t total = argc > 1 ? std::atoll(argv[1]) : 10000000;
  if (total <= 0) {
    std::fprintf(stderr, "usage: %s [SCANS]\n", argv[0]);
    return 2;
  }
  // The checkpoint lines must not be what changes the heap: stdout gets a
  // buffer of its own instead of one allocated at the first line.
  static char outputBuffer[BUFSIZ];
  std::setvbuf(stdout, outputBuffer, _IOLBF, sizeof outputBuffer);
  setenv("STROLVEX_MONITOR", "off", 1);
  const std::vector<std::vector<double>> scenes = soakScenes();
  std::vector<double> damaged;
  DrivenStrolvex strolvex;
  if (strolvex.onActivated(0) != RTC::RTC_OK) return 1;
  // Close to the 32-bit millisecond wrap, which comes after 500 s.
  const int64_t start = (int64_t{1} << 32) - 500000;
  std::size_t heapAtFirstCheckpoint = 0;
  bool flat = true;
  for (int64_t n = 1; n <= total; ++n) {
    const std::vector<double>& scan = scenes[static_cast<std::size_t>(n) % scenes.size()];
    strolvex.cycle(glitched(scan, n, damaged), start + n * kScanPeriodMs);
    if (n % kReactivation == 0) {
      strolvex.onDeactivated(0);
      if (strolvex.onActivated(0) != RTC::RTC_OK) return 1;
    }
    if (n % kCheckpoint == 0 || n == total) {
      const std::size_t heap = heapInUse();
      if (n == kCheckpoint) heapAtFirstCheckpoint = heap;
      const bool same = n < kCheckpoint || heap == heapAtFirstCheckpoint;
      flat = flat && same;
      std::printf("%10lld scans  heap in use %zu B  resident %ld kB  counted IN %d OUT %d%s\n",
                  static_cast<long long>(n), heap, residentKb(), strolvex.passesIn(),
                  strolvex.passesOut(), same ? "" : "  <- heap changed");
      std::fflush(stdout);
    }
  }
  strolvex.onDeactivated(0);
  std::printf("%s\n", flat ? "memory flat" : "MEMORY GREW");
  return flat ? 0 : 1;
}
