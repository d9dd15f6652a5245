#include "tools/scip/ScipScan.h"

#include <cstdio>
#include <string>

#include "tools/scip/ScipCodec.h"

namespace {

bool validTag(const std::string& tag) {
  if (tag.size() > 16) return false;
  for (char c : tag) {
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
                         c == '.' || c == '_' || c == '+' || c == '@';
    if (!allowed) return false;
  }
  return true;
}

std::string digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

}  // namespace

int ScipScanRequest::valueCount() const {
  const int steps = lastStep - firstStep + 1;
  return steps <= 0 ? 0 : (steps + stepsPerValue() - 1) / stepsPerValue();
}

std::string ScipScanRequest::code() const {
  return std::string(continuous ? "M" : "G") + (encodingChars == 2 ? "S" : "D");
}

std::string ScipScanRequest::echoPrefix() const {
  return code() + digits(firstStep, 4) + digits(lastStep, 4) + digits(cluster, 2);
}

std::string scipScanCommand(const ScipScanRequest& request) {
  const bool valid = (request.encodingChars == 2 || request.encodingChars == 3) && request.firstStep >= 0 &&
                     request.firstStep <= request.lastStep && request.lastStep <= 9999 && request.cluster >= 0 &&
                     request.cluster <= 99 && request.skip >= 0 && request.skip <= 9 && request.scans >= 0 &&
                     request.scans <= 99 && validTag(request.tag);
  if (!valid) return std::string();
  std::string line = request.echoPrefix();
  if (request.continuous) line += digits(request.skip, 1) + digits(request.scans, 2);
  if (!request.tag.empty()) line += ";" + request.tag;
  return line + "\n";
}

bool decodeScan(const ScipReply& reply, const ScipScanRequest& request, ScipScan& scan, std::string& error) {
  if (!reply.ok()) {
    error = std::string(scipProblemName(reply.problem)) + ": " + reply.detail;
    return false;
  }
  // Bytes lost before a reply can leave the remains of the previous one in
  // front of its echo; its data lines carry their own sums.
  const std::string prefix = request.echoPrefix();
  const std::size_t at = reply.echo.rfind(prefix);
  if (at == std::string::npos) {
    error = "a reply to \"" + reply.echo + "\" where a scan for \"" + prefix + "\" was expected";
    return false;
  }
  const char* expectedStatus = request.continuous ? "99" : "00";
  if (reply.status != expectedStatus) {
    error = "status " + reply.status;
    return false;
  }
  scan.remaining = 0;
  if (request.continuous) {
    const std::size_t field = at + prefix.size() + 1;
    if (field + 2 <= reply.echo.size() && reply.echo[field] >= '0' && reply.echo[field] <= '9' &&
        reply.echo[field + 1] >= '0' && reply.echo[field + 1] <= '9')
      scan.remaining = (reply.echo[field] - '0') * 10 + (reply.echo[field + 1] - '0');
  }
  if (reply.payload.empty() || reply.payload.front().size() != 4 ||
      !scipDecode(reply.payload.front().data(), 4, scan.stamp)) {
    error = "no time stamp";
    return false;
  }

  // Values run on across line ends: a value cut by one is completed by the
  // first characters of the next.
  const int chars = request.encodingChars;
  if (chars != 2 && chars != 3) {
    error = "an encoding of " + std::to_string(chars) + " characters";
    return false;
  }
  const std::size_t expected = static_cast<std::size_t>(request.valueCount());
  scan.values.clear();
  scan.values.reserve(expected);
  char carry[4];
  int carried = 0;
  for (std::size_t k = 1; k < reply.payload.size(); ++k) {
    const std::string& line = reply.payload[k];
    const char* p = line.data();
    const char* end = p + line.size();
    if (carried > 0) {
      while (carried < chars && p != end) carry[carried++] = *p++;
      if (carried < chars) continue;
      uint32_t value = 0;
      if (!scipDecode(carry, chars, value)) {
        error = "a character outside the encoding";
        return false;
      }
      scan.values.push_back(value);
      carried = 0;
    }
    for (; end - p >= chars; p += chars) {
      uint32_t value = 0;
      if (!scipDecode(p, chars, value)) {
        error = "a character outside the encoding";
        return false;
      }
      scan.values.push_back(value);
    }
    while (p != end) carry[carried++] = *p++;
  }
  if (carried != 0 || scan.values.size() != expected) {
    error = std::to_string(scan.values.size()) + (carried != 0 ? " values and a part" : " values") + " where " +
            std::to_string(expected) + " were expected";
    return false;
  }
  return true;
}

bool scipReadingValid(uint32_t value, const SensorInfo& info) {
  return value >= static_cast<uint32_t>(info.minRange) && value <= static_cast<uint32_t>(info.maxRange);
}

void scipScanToRanges(const ScipScan& scan, const ScipScanRequest& request, const SensorInfo& info, double noEcho,
                      std::vector<double>& ranges) {
  const int last = info.lastStep > request.lastStep ? info.lastStep : request.lastStep;
  ranges.assign(static_cast<std::size_t>(last < 0 ? 0 : last + 1), noEcho);
  if (request.firstStep < 0) return;
  const int width = request.stepsPerValue();
  for (std::size_t k = 0; k < scan.values.size(); ++k) {
    if (!scipReadingValid(scan.values[k], info)) continue;
    const int first = request.firstStep + static_cast<int>(k) * width;
    for (int s = first; s < first + width && s <= request.lastStep; ++s)
      ranges[static_cast<std::size_t>(s)] = scan.values[k];
  }
}
