#include "ManagerOptions.h"

#include "ConfigFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace RTC {

namespace {

const char* const kDefaultConfigFile = "./rtc.conf";

void printUsage(const char* program) {
  std::printf(
      "Usage: %s [-f FILE] [-o KEY:VALUE]... [-l MODULE]... [-h]\n"
      "  -f FILE        read the configuration from FILE instead of ./rtc.conf\n"
      "  -o KEY:VALUE   set one configuration key, over the file\n"
      "  -l MODULE      load MODULE (added to manager.modules.preload)\n"
      "  -h             show this help\n",
      program);
}

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::exit(1);
}

// The value of an option given as "-f FILE" or "-fFILE".
std::string optionValue(int argc, char** argv, int& index) {
  const std::string arg(argv[index]);
  if (arg.size() > 2) {
    return arg.substr(2);
  }
  if (index + 1 >= argc) {
    fail("option " + arg + " needs a value (see -h)");
  }
  return argv[++index];
}

}  // namespace

coil::Properties configurationFromArguments(int argc, char** argv) {
  coil::Properties config;
  config["logger.enable"] = "YES";
  config["logger.log_level"] = "INFO";
  config["manager.modules.load_path"] = "./";

  std::string configFile;
  std::vector<std::pair<std::string, std::string>> overrides;
  std::vector<std::string> modules;
  const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "rtcd";
  for (int i = 1; i < argc; ++i) {
    const std::string arg(argv[i]);
    if (arg == "-h") {
      printUsage(program);
      std::exit(0);
    } else if (arg.compare(0, 2, "-f") == 0) {
      configFile = optionValue(argc, argv, i);
    } else if (arg.compare(0, 2, "-o") == 0) {
      const std::string entry = optionValue(argc, argv, i);
      std::string key;
      std::string value;
      if (!parseConfigEntry(entry, key, value)) {
        fail("option -o needs KEY:VALUE, got '" + entry + "'");
      }
      overrides.emplace_back(key, value);
    } else if (arg.compare(0, 2, "-l") == 0) {
      modules.push_back(optionValue(argc, argv, i));
    } else {
      fail("unknown option '" + arg + "' (see -h)");
    }
  }

  std::string error;
  if (!configFile.empty()) {
    if (!loadConfigFile(configFile, config, error)) {
      fail(error);
    }
  } else if (access(kDefaultConfigFile, F_OK) == 0 && !loadConfigFile(kDefaultConfigFile, config, error)) {
    fail(error);
  }
  for (const auto& entry : overrides) {
    config[entry.first] = entry.second;
  }
  for (const std::string& module : modules) {
    std::string& preload = config["manager.modules.preload"];
    preload += preload.empty() ? module : ", " + module;
  }
  return config;
}

}  // namespace RTC
