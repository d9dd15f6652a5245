// Scan log time stamps and ranges in the middleware's types. Templates over
// RTC::Time and RTC::RangeData, so that the scan log library itself needs no
// middleware headers; only the components that include this do.
#ifndef STROLVEX_TOOLS_SCANLOG_SCANLOGRANGEDATA_H
#define STROLVEX_TOOLS_SCANLOG_SCANLOGRANGEDATA_H

#include <algorithm>
#include <cstdint>
#include <vector>

template <class Time>
int64_t millisecondsOf(const Time& tm) {
  return static_cast<int64_t>(tm.sec) * 1000 + tm.nsec / 1000000;
}

// t_ms is not negative: scan log stamps never are.
template <class Time>
void setMilliseconds(Time& tm, int64_t t_ms) {
  tm.sec = static_cast<decltype(tm.sec)>(t_ms / 1000);
  tm.nsec = static_cast<decltype(tm.nsec)>(t_ms % 1000 * 1000000);
}

template <class RangeData>
void fillRangeData(RangeData& data, int64_t t_ms, const std::vector<double>& ranges) {
  typedef decltype(data.ranges.length()) Index;
  setMilliseconds(data.tm, t_ms);
  data.ranges.length(static_cast<Index>(ranges.size()));
  std::copy(ranges.begin(), ranges.end(), data.ranges.get_buffer());
}

#endif
