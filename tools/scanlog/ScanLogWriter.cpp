// Writing of scan log lines with the shortest decimal form of each range
// that reads back to the same double.
#include <fast_float/fast_float.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/scanlog/ScanLog.h"

namespace {

bool readsBackAs(const char* text, double value) {
  double parsed = 0.0;
  const char* end = text;
  while (*end != '\0') ++end;
  fast_float::from_chars(text, end, parsed);
  return parsed == value;
}

void appendRange(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "nan";
    return;
  }
  if (std::isinf(value)) {
    out += value > 0 ? "inf" : "-inf";
    return;
  }
  char text[40];
  // Whole millimetres, the common case, read best without an exponent.
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", value);
    out += text;
    return;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, value);
    if (readsBackAs(text, value)) break;
  }
  out += text;
}

}  // namespace

std::string formatScanLine(const ScanRecord& scan) {
  char stamp[24];
  std::snprintf(stamp, sizeof stamp, "%" PRId64, scan.t_ms);
  std::string line = stamp;
  for (double range : scan.ranges) {
    line += ' ';
    appendRange(line, range);
  }
  return line;
}
