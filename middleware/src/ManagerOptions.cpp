#include "ManagerOptions.h"

#include "ConfigFile.h"

#include <coil/stringutil.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace RTC {

namespace {

const char* const kSearchPath[] = {"./rtc.conf", "/etc/rtc.conf", "/etc/rtc/rtc.conf",
                                   "/usr/local/etc/rtc.conf", "/usr/local/etc/rtc/rtc.conf"};

bool exists(const std::string& path) { return !path.empty() && access(path.c_str(), F_OK) == 0; }

// The -f file, else the first of the search path; empty when none.
std::string configFileToRead(const std::string& given, bool ignoreMissing) {
  if (!given.empty()) {
    if (exists(given)) return given;
    std::fprintf(stderr, "Configuration file: %s not found.\n", given.c_str());
    if (!ignoreMissing) std::exit(255);
  }
  const char* env = std::getenv("RTC_MANAGER_CONFIG");
  if (env != nullptr && exists(env)) return env;
  for (const char* path : kSearchPath) {
    if (exists(path)) return path;
  }
  return std::string();
}

}  // namespace

coil::Properties configurationFromArguments(int argc, char** argv) {
  coil::Properties config;
  config["logger.enable"] = "YES";
  config["logger.log_level"] = "INFO";
  config["logger.file_name"] = "./rtc%p.log";
  config["manager.modules.load_path"] = "./";

  std::string configFile;
  bool ignoreMissing = false;
  std::vector<std::pair<std::string, std::string>> overrides;
  const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "rtcd";
  for (int i = 1; i < argc; ++i) {
    const std::string arg(argv[i]);
    if (arg.size() < 2 || arg[0] != '-') continue;  // operands are not the manager's
    const char option = arg[1];
    const bool takesValue = option == 'f' || option == 'o' || option == 'p';
    std::string value;
    if (takesValue) {
      if (arg.size() > 2) {
        value = arg.substr(2);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        std::fprintf(stderr, "%s: option requires an argument -- '%c'\n", program, option);
        continue;
      }
    }
    switch (option) {
      case 'a': overrides.emplace_back("manager.corba_servant", "NO"); break;
      case 'd': overrides.emplace_back("manager.is_master", "YES"); break;
      case 'i': ignoreMissing = true; break;
      case 'f': configFile = value; break;
      case 'p': overrides.emplace_back("corba.endpoints", ":" + value); break;
      case 'o': {
        // KEY:VALUE, split at the first colon; without one it says nothing.
        const std::string::size_type colon = value.find(':');
        if (colon == std::string::npos) break;
        std::string key = value.substr(0, colon);
        std::string setting = value.substr(colon + 1);
        coil::eraseBothEndsBlank(key);
        coil::eraseBothEndsBlank(setting);
        if (!key.empty()) overrides.emplace_back(key, setting);
        break;
      }
      default: std::fprintf(stderr, "%s: invalid option -- '%c'\n", program, option); break;
    }
  }

  const std::string file = configFileToRead(configFile, ignoreMissing);
  std::string error;
  if (!file.empty() && !loadConfigFile(file, config, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
  for (const auto& entry : overrides) {
    config[entry.first] = entry.second;
  }
  return config;
}

}  // namespace RTC
