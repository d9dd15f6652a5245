#include "tools/replay/ResultLine.h"

#include <vector>

namespace {

void appendArray(std::string& out, const char* key, const std::vector<int32_t>& values) {
  out += ",\"";
  out += key;
  out += "\":[";
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (k != 0) out += ',';
    out += std::to_string(values[k]);
  }
  out += ']';
}

}  // namespace

std::string formatResultLine(int64_t t_ms, const ReplayResult& result) {
  std::string line = "{\"t\":" + std::to_string(t_ms);
  appendArray(line, "x", result.x);
  appendArray(line, "y", result.y);
  appendArray(line, "v", result.v);
  appendArray(line, "h", result.h);
  appendArray(line, "count", result.count);
  line += '}';
  return line;
}
