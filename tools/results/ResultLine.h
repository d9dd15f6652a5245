// One cycle of Strolvex's outputs as a JSON line, the form strolvex-replay
// prints and the result logger writes:
// {"t":T,"x":[...],"y":[...],"v":[...],"h":[...],"count":[IN,OUT,PRESENT]}
#ifndef STROLVEX_TOOLS_RESULTS_RESULTLINE_H
#define STROLVEX_TOOLS_RESULTS_RESULTLINE_H

#include <cstdint>
#include <string>
#include <vector>

// Port sequences (length()) and vectors (size()) alike.
template <class Sequence>
std::size_t elementCount(const Sequence& values) {
  return values.length();
}
template <class T>
std::size_t elementCount(const std::vector<T>& values) {
  return values.size();
}

template <class Sequence>
void appendJsonArray(std::string& line, const char* key, const Sequence& values) {
  line += ",\"";
  line += key;
  line += "\":[";
  for (std::size_t k = 0; k < elementCount(values); ++k) {
    if (k > 0) line += ',';
    line += std::to_string(static_cast<long long>(values[k]));
  }
  line += ']';
}

template <class Sequence>
std::string formatResultLine(int64_t t_ms, const Sequence& x, const Sequence& y, const Sequence& v,
                             const Sequence& h, const Sequence& count) {
  std::string line = "{\"t\":" + std::to_string(static_cast<long long>(t_ms));
  appendJsonArray(line, "x", x);
  appendJsonArray(line, "y", y);
  appendJsonArray(line, "v", v);
  appendJsonArray(line, "h", h);
  appendJsonArray(line, "count", count);
  line += '}';
  return line;
}

#endif
