#include "tools/sweep/ScanCache.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "tools/replay/HandOff.h"
#include "tools/scanlog/ScanLogFile.h"

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

const std::size_t kReadChunk = 1 << 17;

// Lines that are scans or malformed, with their line numbers.
const std::size_t kBatchLines = 128;
const int kBatches = 4;
struct ParsedBatch {
  std::vector<ScanLine> lines = std::vector<ScanLine>(kBatchLines);
  std::vector<long> lineNumbers = std::vector<long>(kBatchLines);
  std::size_t count = 0;
};

// Fills free batches with the log's scan and malformed lines and hands
// them on, in order; the errno of a failed read, else 0.
int parseLines(std::FILE* log, HandOff<ParsedBatch*>& free, HandOff<ParsedBatch*>& parsed) {
  ScanLineReader lines(log);
  bool more = true;
  ParsedBatch* batch = nullptr;
  while (more && free.pop(batch)) {
    for (batch->count = 0; batch->count < kBatchLines; ++batch->count) {
      if (!lines.next(batch->lines[batch->count])) {
        more = false;
        break;
      }
      batch->lineNumbers[batch->count] = lines.lineNumber();
    }
    parsed.push(batch);
  }
  parsed.close();
  return lines.readError();
}

// The two-byte ranges at data as doubles, eight at a time where SSE2 is.
void widenWholeMillimetres(const char* data, uint32_t count, double* ranges) {
  uint32_t s = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; s + 8 <= count; s += 8) {
    const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 2 * s));
    const __m128i low = _mm_unpacklo_epi16(eight, zero), high = _mm_unpackhi_epi16(eight, zero);
    _mm_storeu_pd(ranges + s, _mm_cvtepi32_pd(low));
    _mm_storeu_pd(ranges + s + 2, _mm_cvtepi32_pd(_mm_unpackhi_epi64(low, low)));
    _mm_storeu_pd(ranges + s + 4, _mm_cvtepi32_pd(high));
    _mm_storeu_pd(ranges + s + 6, _mm_cvtepi32_pd(_mm_unpackhi_epi64(high, high)));
  }
#endif
  for (; s < count; ++s) {
    uint16_t whole;
    std::memcpy(&whole, data + 2 * s, sizeof whole);
    ranges[s] = whole;
  }
}

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
  // A reader thread reads and parses lines while this one converts and
  // writes the scans: batches of lines go round between the two.
  std::vector<std::unique_ptr<ParsedBatch>> batches;
  HandOff<ParsedBatch*> free, parsed;
  for (int k = 0; k < kBatches; ++k) {
    batches.emplace_back(new ParsedBatch);
    free.push(batches.back().get());
  }
  int readError = 0;
  std::thread reader([&] { readError = parseLines(log, free, parsed); });

  std::vector<uint16_t> whole;
  ParsedBatch* batch = nullptr;
  while (parsed.pop(batch)) {
    for (std::size_t k = 0; k < batch->count; ++k) {
      const ScanLine& line = batch->lines[k];
      if (line.kind == ScanLine::kMalformed) {
        std::fprintf(err, "%s: %s:%ld: %s; line skipped\n", program.c_str(), logPath.c_str(),
                     batch->lineNumbers[k], line.error.c_str());
        ++malformedLines_;
        continue;
      }
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
    free.push(batch);
  }
  reader.join();
  if (readError != 0) {
    error = "reading scan log '" + logPath + "' failed: " + std::strerror(readError);
    return false;
  }
  if (std::fflush(file_) != 0 || std::ferror(file_)) {
    error = std::string("cannot write the parsed scans to a temporary file: ") +
            std::strerror(errno);
    return false;
  }
  return true;
}

ScanCacheReader::ScanCacheReader(int descriptor)
    : descriptor_(descriptor), buffer_(new char[kReadChunk]), capacity_(kReadChunk) {}

bool ScanCacheReader::fill(std::size_t bytes) {
  if (filled_ - taken_ >= bytes) return true;
  std::memmove(buffer_.get(), buffer_.get() + taken_, filled_ - taken_);
  filled_ -= taken_;
  taken_ = 0;
  if (capacity_ < bytes) {
    // A scan longer than the buffer: one that holds it, kept from then on.
    std::unique_ptr<char[]> larger(new char[bytes]);
    std::memcpy(larger.get(), buffer_.get(), filled_);
    buffer_ = std::move(larger);
    capacity_ = bytes;
  }
  while (filled_ < bytes) {
    const ssize_t got = pread(descriptor_, buffer_.get() + filled_, capacity_ - filled_, offset_);
    if (got <= 0) return false;
    filled_ += static_cast<std::size_t>(got);
    offset_ += got;
  }
  return true;
}

bool ScanCacheReader::next(ScanRecord& scan) {
  ScanHeader header;
  if (!fill(sizeof header)) return false;
  std::memcpy(&header, buffer_.get() + taken_, sizeof header);
  taken_ += sizeof header;
  const std::size_t bytes = header.ranges * (header.wholeMillimetres ? sizeof(uint16_t) : sizeof(double));
  if (!fill(bytes)) return false;
  scan.t_ms = header.t_ms;
  scan.ranges.resize(header.ranges);
  const char* data = buffer_.get() + taken_;
  if (header.wholeMillimetres) {
    widenWholeMillimetres(data, header.ranges, scan.ranges.data());
  } else {
    std::memcpy(scan.ranges.data(), data, bytes);
  }
  taken_ += bytes;
  return true;
}
