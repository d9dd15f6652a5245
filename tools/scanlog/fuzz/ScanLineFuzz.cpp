// Arbitrary bytes through the scan log line parser: the whole input as one
// line, then each of its lines, the latter into one reused ScanLine as a
// replay reads a log. Whatever the text, both entry points must agree, every
// range of a scan line must be the decimal number its token spells (strtod,
// in the C locale, is the independent reading), a scan line must survive a
// round trip through the writer to the last bit, and a rejected line must
// say why.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/scanlog/ScanLog.h"

namespace {

void check(bool holds) {
  if (!holds) std::abort();
}

// Bit for bit, except that any NaN matches any NaN: the log has one "nan".
bool sameReading(double a, double b) {
  if (a != a || b != b) return a != a && b != b;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameRanges(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t s = 0; s < a.size(); ++s) {
    if (!sameReading(a[s], b[s])) return false;
  }
  return true;
}

std::vector<std::string> tokens(const std::string& text) {
  std::vector<std::string> found;
  std::size_t start = text.find_first_not_of(" \t\r");
  while (start != std::string::npos) {
    const std::size_t end = text.find_first_of(" \t\r", start);
    found.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    start = text.find_first_not_of(" \t\r", end);
  }
  return found;
}

void checkScan(const std::string& text, const ScanRecord& scan) {
  check(scan.t_ms >= 0);
  const std::vector<std::string> words = tokens(text);
  check(words.size() == scan.ranges.size() + 1);
  for (std::size_t s = 0; s < scan.ranges.size(); ++s) {
    const std::string& word = words[s + 1];
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    check(end == word.c_str() + word.size());
    check(sameReading(value, scan.ranges[s]));
  }

  const ScanLine again = parseScanLine(formatScanLine(scan));
  check(again.kind == ScanLine::kScan);
  check(again.scan.t_ms == scan.t_ms);
  check(sameRanges(again.scan.ranges, scan.ranges));
}

void checkLine(const std::string& text, ScanLine& reused) {
  const ScanLine line = parseScanLine(text);
  parseScanLine(text.data(), text.data() + text.size(), reused);
  check(reused.kind == line.kind);
  switch (line.kind) {
    case ScanLine::kSkip:
      return;
    case ScanLine::kMalformed:
      check(!line.error.empty());
      check(reused.error == line.error);
      return;
    case ScanLine::kScan:
      check(reused.scan.t_ms == line.scan.t_ms);
      check(sameRanges(reused.scan.ranges, line.scan.ranges));
      checkScan(text, line.scan);
      return;
  }
  check(false);  // a kind the parser does not promise
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ScanLine reused;
  checkLine(text, reused);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    checkLine(text.substr(start, end - start), reused);
    start = end + 1;
  }
  return 0;
}
