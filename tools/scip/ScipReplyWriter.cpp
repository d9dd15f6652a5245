#include "tools/scip/ScipReplyWriter.h"

#include "tools/scip/ScipCodec.h"

namespace {

const std::size_t kDataLineLength = 64;

void appendLine(const std::string& payload, std::string& out) {
  out += payload;
  out.push_back(scipChecksum(payload));
  out.push_back('\n');
}

}  // namespace

std::string scipReplyBytes(const std::string& echo, const std::string& status,
                           const std::vector<std::string>& payload) {
  std::string out = echo + "\n";
  if (status.size() == 1) {
    out += status + "\n";
  } else {
    appendLine(status, out);
  }
  for (const std::string& line : payload) appendLine(line, out);
  out.push_back('\n');
  return out;
}

std::string scipInfoReplyBytes(const std::string& echo,
                               const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string out = scipReplyBytes(echo, "00");
  out.pop_back();
  for (const auto& entry : entries) {
    const std::string summed = entry.first + ":" + entry.second;
    out += summed + ";";
    out.push_back(scipChecksum(summed));
    out.push_back('\n');
  }
  out.push_back('\n');
  return out;
}

std::vector<std::string> scipScanPayload(uint32_t stamp, const std::vector<uint32_t>& values, int chars) {
  std::vector<std::string> lines(1, scipEncode(stamp, 4));
  std::string data;
  data.reserve(values.size() * static_cast<std::size_t>(chars));
  for (uint32_t value : values) scipEncodeTo(value, chars, data);
  for (std::size_t at = 0; at < data.size(); at += kDataLineLength) lines.push_back(data.substr(at, kDataLineLength));
  return lines;
}
