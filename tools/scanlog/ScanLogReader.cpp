// Reading of scan log lines: numbers go through fast_float, which parses
// exactly and independently of the locale.
#include <fast_float/fast_float.h>

#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "tools/scanlog/ScanLog.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A non-negative decimal integer filling the whole token.
bool parseTimeStamp(const char* first, const char* last, int64_t& value) {
  if (first == last) return false;
  int64_t result = 0;
  for (const char* p = first; p != last; ++p) {
    if (*p < '0' || *p > '9') return false;
    const int digit = *p - '0';
    if (result > (std::numeric_limits<int64_t>::max() - digit) / 10) return false;
    result = result * 10 + digit;
  }
  value = result;
  return true;
}

// A decimal number filling the whole token; a leading '+' is accepted.
bool parseRange(const char* first, const char* last, double& value) {
  if (last - first > 1 && *first == '+' && first[1] != '+' && first[1] != '-') ++first;
  const fast_float::from_chars_result result = fast_float::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr == last;
}

ScanLine malformed(std::string error) {
  ScanLine line;
  line.kind = ScanLine::kMalformed;
  line.error = std::move(error);
  return line;
}

}  // namespace

ScanLine parseScanLine(const std::string& text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && isBlank(*p)) ++p;
  if (p == end || *p == '#') return ScanLine();

  ScanLine line;
  line.kind = ScanLine::kScan;
  bool first = true;
  while (p != end) {
    const char* tokenEnd = p;
    while (tokenEnd != end && !isBlank(*tokenEnd)) ++tokenEnd;
    if (first) {
      if (!parseTimeStamp(p, tokenEnd, line.scan.t_ms))
        return malformed("time stamp '" + std::string(p, tokenEnd) +
                         "' is not a non-negative integer of milliseconds");
      first = false;
    } else {
      double range = 0.0;
      if (!parseRange(p, tokenEnd, range))
        return malformed("range " + std::to_string(line.scan.ranges.size()) + " '" +
                         std::string(p, tokenEnd) + "' is not a number");
      line.scan.ranges.push_back(range);
    }
    p = tokenEnd;
    while (p != end && isBlank(*p)) ++p;
  }
  return line;
}
