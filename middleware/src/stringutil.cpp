#include <coil/stringutil.h>

#include <cstdarg>
#include <cstdio>

namespace coil {

void eraseBothEndsBlank(std::string& str) {
  const char* blanks = " \t\r\n";
  const std::string::size_type first = str.find_first_not_of(blanks);
  if (first == std::string::npos) {
    str.clear();
    return;
  }
  str = str.substr(first, str.find_last_not_of(blanks) - first + 1);
}

vstring split(const std::string& input, const std::string& delimiter, bool ignore_empty) {
  vstring parts;
  if (input.empty()) {
    return parts;
  }
  std::string::size_type begin = 0;
  for (;;) {
    const std::string::size_type end = delimiter.empty() ? std::string::npos : input.find(delimiter, begin);
    std::string part = input.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    eraseBothEndsBlank(part);
    if (!(ignore_empty && part.empty())) {
      parts.push_back(part);
    }
    if (end == std::string::npos) {
      return parts;
    }
    begin = end + delimiter.size();
  }
}

std::string sprintf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, measure);
  va_end(measure);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(&text[0], text.size(), fmt, args);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}

}  // namespace coil
