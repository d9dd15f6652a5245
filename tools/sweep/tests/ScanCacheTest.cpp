// A log parsed into the cache gives back every scan with the very doubles
// parsing its line gives, whichever form the cache stores them in.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "tools/sweep/ScanCache.h"

TEST(ScanCache, GivesBackEveryScanBitForBitAndReportsMalformedLines) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  std::vector<ScanRecord> scans = {
      {1000, {0, 1, 3900, 65535}}, {1100, {3900, 2999.5, 1}},  // whole millimetres; a fraction
      {1200, {65536, 4}}, {1300, {-5, 3}},                     // past two bytes; negative
      {1400, {-0.0, 7}}, {1500, {nan, inf, -inf, 1e3}},        // a sign two bytes would lose; no echo
  };
  // 1.2 MB of doubles and as many whole millimetres, each different: the
  // reader refills its buffer part-way through a scan.
  for (int k = 0; k < 400; ++k) {
    scans.push_back(ScanRecord{2000 + k, std::vector<double>(769, 1000.5 + k)});
    if (k % 2 != 0)
      for (int s = 0; s < 769; ++s) scans.back().ranges[s] = (s * 85 + k) % 65536;
  }
  // Longer than the reader's buffer, after a part of a buffer was read.
  scans.insert(scans.begin() + 203, ScanRecord{1999, std::vector<double>(20000)});
  for (int s = 0; s < 20000; ++s) scans[203].ranges[s] = s + 0.25;
  std::FILE *log = std::tmpfile(), *err = std::tmpfile();
  ASSERT_TRUE(log != nullptr && err != nullptr);
  std::fputs("# comment\n\n", log);
  for (std::size_t k = 0; k < scans.size(); ++k)
    std::fprintf(log, "%s\n%s", formatScanLine(scans[k]).c_str(), k == 2 ? "1250 12 twelve\n" : "");
  std::rewind(log);
  ScanCache cache;
  std::string error;
  ASSERT_TRUE(cache.build(log, "scans.log", "sweep", err, error)) << error;
  EXPECT_EQ(static_cast<int64_t>(scans.size()), cache.scans());
  EXPECT_EQ(1, cache.malformedLines());
  char message[256] = {};
  std::rewind(err);
  ASSERT_NE(nullptr, std::fgets(message, sizeof message, err));
  EXPECT_EQ(0, std::strncmp(message, "sweep: scans.log:6: ", 20)) << message;
  for (std::FILE* file : {log, err}) std::fclose(file);
  // Two readers at once, as two configurations' processes read.
  ScanCacheReader first(cache.descriptor()), second(cache.descriptor());
  ScanRecord read;
  for (const ScanRecord& written : scans) {
    const ScanRecord scan = parseScanLine(formatScanLine(written)).scan;
    for (ScanCacheReader* reader : {&first, &second}) {
      ASSERT_TRUE(reader->next(read) && read.t_ms == scan.t_ms && read.ranges.size() == scan.ranges.size()) << scan.t_ms;
      EXPECT_EQ(0, std::memcmp(scan.ranges.data(), read.ranges.data(), scan.ranges.size() * sizeof(double))) << scan.t_ms;
    }
  }
  EXPECT_FALSE(first.next(read));
}
