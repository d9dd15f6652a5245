// A scan log parsed once for all the configurations of a sweep: its scans
// in a binary form that gives back the very same doubles, in an unnamed
// temporary file that each configuration's process reads on its own.
// Ranges that are whole millimetres up to 65535, as scanners report them,
// take two bytes; a scan with any other reading keeps its doubles.
#ifndef STROLVEX_TOOLS_SWEEP_SCANCACHE_H
#define STROLVEX_TOOLS_SWEEP_SCANCACHE_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/scanlog/ScanLog.h"

class ScanCache {
 public:
  ScanCache() = default;
  ~ScanCache();
  ScanCache(const ScanCache&) = delete;
  ScanCache& operator=(const ScanCache&) = delete;

  // Parses log; malformed lines are reported on err, as "program: path:N:
  // what; line skipped", and skipped. False with error set when the log
  // cannot be read or the cache cannot be written.
  bool build(std::FILE* log, const std::string& logPath, const std::string& program,
             std::FILE* err, std::string& error);

  int64_t scans() const { return scans_; }
  long malformedLines() const { return malformedLines_; }
  int descriptor() const { return file_ == nullptr ? -1 : fileno(file_); }

 private:
  std::FILE* file_ = nullptr;
  int64_t scans_ = 0;
  long malformedLines_ = 0;
};

// Reads a cache's scans in order, through its own offset: several
// processes can read one cache at once.
class ScanCacheReader {
 public:
  explicit ScanCacheReader(int descriptor);
  // False at the end (or on a read error, which a cache that was just
  // written does not meet).
  bool next(ScanRecord& scan);

 private:
  bool fill(std::size_t bytes);

  int descriptor_;
  int64_t offset_ = 0;  // of the first byte not yet in the buffer
  // Allocated once and reused: a configuration's process pays for its
  // pages only once, and the buffer stays small beside the cycle's data.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t taken_ = 0;   // bytes of the buffer used
  std::size_t filled_ = 0;  // bytes of the buffer read
};

#endif
