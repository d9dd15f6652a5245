#include "ConfigFile.h"

#include <coil/stringutil.h>

#include <fstream>

namespace RTC {

bool parseConfigEntry(const std::string& entry, std::string& key, std::string& value) {
  const std::string::size_type separator = entry.find_first_of(":=");
  if (separator == std::string::npos) {
    return false;
  }
  key = entry.substr(0, separator);
  value = entry.substr(separator + 1);
  coil::eraseBothEndsBlank(key);
  coil::eraseBothEndsBlank(value);
  return !key.empty();
}

bool loadConfigFile(const std::string& path, coil::Properties& into, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = "cannot read configuration file '" + path + "'";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    const std::string::size_type comment = line.find('#');
    if (comment != std::string::npos) {
      line.erase(comment);
    }
    coil::eraseBothEndsBlank(line);
    if (line.empty()) {
      continue;
    }
    std::string key;
    std::string value;
    if (!parseConfigEntry(line, key, value)) {
      error = path + ":" + std::to_string(number) + ": expected 'key: value', got '" + line + "'";
      return false;
    }
    into[key] = value;
  }
  if (file.bad()) {
    error = "cannot read configuration file '" + path + "'";
    return false;
  }
  return true;
}

}  // namespace RTC
