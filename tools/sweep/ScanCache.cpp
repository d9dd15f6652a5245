#include "tools/sweep/ScanCache.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

struct ScanHeader {
  int64_t t_ms;
  uint32_t ranges;
  uint32_t wholeMillimetres;  // 1: the ranges follow as uint16_t, 0: as double
};

// Whether every range is a whole number of millimetres that 16 bits hold
// (not -0), and those numbers into whole. No branch on a range: a scan is
// checked whole, as nearly every recorded scan passes.
bool wholeMillimetres(const std::vector<double>& ranges, std::vector<uint16_t>& whole) {
  whole.resize(ranges.size());
  bool all = true;
  for (std::size_t s = 0; s < ranges.size(); ++s) {
    const double range = ranges[s];
    const bool inside = range >= 0.0 && range <= 65535.0;
    const int32_t held = static_cast<int32_t>(inside ? range : -1.0);
    all &= inside & (static_cast<double>(held) == range) & !(range == 0.0 && std::signbit(range));
    whole[s] = static_cast<uint16_t>(held);
  }
  return all;
}

struct LineBuffer {
  ~LineBuffer() { std::free(data); }
  char* data = nullptr;
  std::size_t capacity = 0;
};

const std::size_t kReadChunk = 1 << 20;

}  // namespace

ScanCache::~ScanCache() {
  if (file_ != nullptr) std::fclose(file_);
}

bool ScanCache::build(std::FILE* log, const std::string& logPath, const std::string& program,
                      std::FILE* err, std::string& error) {
  file_ = std::tmpfile();
  if (file_ == nullptr) {
    error = std::string("cannot make a temporary file: ") + std::strerror(errno);
    return false;
  }
  LineBuffer buffer;
  ScanLine line;
  std::vector<uint16_t> whole;
  long lineNumber = 0;
  ssize_t length;
  while ((length = getline(&buffer.data, &buffer.capacity, log)) >= 0) {
    ++lineNumber;
    const char* end = buffer.data + length;
    if (end != buffer.data && end[-1] == '\n') --end;
    parseScanLine(buffer.data, end, line);
    if (line.kind == ScanLine::kMalformed) {
      std::fprintf(err, "%s: %s:%ld: %s; line skipped\n", program.c_str(), logPath.c_str(),
                   lineNumber, line.error.c_str());
      ++malformedLines_;
    }
    if (line.kind != ScanLine::kScan) continue;
    const std::vector<double>& ranges = line.scan.ranges;
    const ScanHeader header{line.scan.t_ms, static_cast<uint32_t>(ranges.size()),
                            wholeMillimetres(ranges, whole) ? 1u : 0u};
    std::fwrite(&header, sizeof header, 1, file_);
    if (header.wholeMillimetres)
      std::fwrite(whole.data(), sizeof(uint16_t), whole.size(), file_);
    else
      std::fwrite(ranges.data(), sizeof(double), ranges.size(), file_);
    ++scans_;
  }
  if (std::ferror(log)) {
    error = "reading scan log '" + logPath + "' failed: " + std::strerror(errno);
    return false;
  }
  if (std::fflush(file_) != 0 || std::ferror(file_)) {
    error = std::string("cannot write the parsed scans to a temporary file: ") +
            std::strerror(errno);
    return false;
  }
  return true;
}

bool ScanCacheReader::fill(std::size_t bytes) {
  if (buffer_.size() - taken_ >= bytes) return true;
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(taken_));
  taken_ = 0;
  while (buffer_.size() < bytes) {
    const std::size_t had = buffer_.size();
    buffer_.resize(had + std::max(kReadChunk, bytes - had));
    const ssize_t got = pread(descriptor_, buffer_.data() + had, buffer_.size() - had, offset_);
    buffer_.resize(had + static_cast<std::size_t>(got > 0 ? got : 0));
    if (got <= 0) return false;
    offset_ += got;
  }
  return true;
}

bool ScanCacheReader::next(ScanRecord& scan) {
  ScanHeader header;
  if (!fill(sizeof header)) return false;
  std::memcpy(&header, buffer_.data() + taken_, sizeof header);
  taken_ += sizeof header;
  const std::size_t bytes = header.ranges * (header.wholeMillimetres ? sizeof(uint16_t) : sizeof(double));
  if (!fill(bytes)) return false;
  scan.t_ms = header.t_ms;
  scan.ranges.resize(header.ranges);
  const char* data = buffer_.data() + taken_;
  if (header.wholeMillimetres) {
    whole_.resize(header.ranges);
    std::memcpy(whole_.data(), data, bytes);
    for (uint32_t s = 0; s < header.ranges; ++s) scan.ranges[s] = whole_[s];
  } else {
    std::memcpy(scan.ranges.data(), data, bytes);
  }
  taken_ += bytes;
  return true;
}
