#include "tools/scip/ScipCodec.h"

#include <string>

uint32_t scipMaxValue(int chars) { return (uint32_t{1} << (6 * chars)) - 1; }

void scipEncodeTo(uint32_t value, int chars, std::string& out) {
  for (int i = chars - 1; i >= 0; --i) out.push_back(static_cast<char>(((value >> (6 * i)) & 0x3F) + 0x30));
}

std::string scipEncode(uint32_t value, int chars) {
  std::string out;
  scipEncodeTo(value, chars, out);
  return out;
}

bool scipDecode(const char* text, int chars, uint32_t& value) {
  uint32_t result = 0;
  for (int i = 0; i < chars; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - 0x30u;
    if (digit > 0x3F) return false;
    result = (result << 6) | digit;
  }
  value = result;
  return true;
}

char scipChecksum(const char* first, const char* last) {
  unsigned sum = 0;
  for (const char* p = first; p != last; ++p) sum += static_cast<unsigned char>(*p);
  return static_cast<char>((sum & 0x3F) + 0x30);
}

char scipChecksum(const std::string& payload) {
  return scipChecksum(payload.data(), payload.data() + payload.size());
}

bool scipLineSumOk(const std::string& line) {
  if (line.size() < 2) return false;
  const char* begin = line.data();
  return scipChecksum(begin, begin + line.size() - 1) == line.back();
}

bool scipInfoLineSumOk(const std::string& line) {
  if (scipLineSumOk(line)) return true;
  if (line.size() < 2) return false;
  const char* begin = line.data();
  const std::size_t semicolon = line.size() - 2;
  if (line[semicolon] == ';' && scipChecksum(begin, begin + semicolon) == line.back()) return true;
  const std::size_t comment = line.find("<-");
  return comment != std::string::npos && scipChecksum(begin, begin + comment) == line.back();
}
