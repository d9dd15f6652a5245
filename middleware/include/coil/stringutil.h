// String conversion and splitting helpers.
#ifndef COIL_STRINGUTIL_H
#define COIL_STRINGUTIL_H

#include <sstream>
#include <string>
#include <vector>

namespace coil {

typedef std::vector<std::string> vstring;

// Stream extraction: leading blanks are skipped and trailing characters are
// not checked, so "12abc" gives 12.
template <typename T>
bool stringTo(T& val, const char* str) {
  if (str == nullptr) {
    return false;
  }
  std::istringstream stream(str);
  stream >> val;
  return !stream.fail();
}

// A string parameter takes the whole text, blanks included.
template <>
inline bool stringTo<std::string>(std::string& val, const char* str) {
  if (str == nullptr) {
    return false;
  }
  val = str;
  return true;
}

void eraseBothEndsBlank(std::string& str);

// Splits at every delimiter and trims each part.
vstring split(const std::string& input, const std::string& delimiter,
              bool ignore_empty = false);

std::string sprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace coil

#endif
