#include "tools/scipemulator/EmulatorArguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

const char* const kEmulatorUsage =
    "usage: strolvex-scip-emulator [OPTION]... SCANLOG\n"
    "Serves the scans of SCANLOG as a SCIP 2.0 laser scanner would.\n"
    "  --link PATH               a pseudo-terminal, with PATH a symbolic link to it\n"
    "  --tcp PORT                TCP on 127.0.0.1:PORT (0: any free port)\n"
    "                            (neither: a pseudo-terminal without a link)\n"
    "  --model NAME              URG-04LX (default) or UTM-30LX\n"
    "  --rate FACTOR             pace relative to the log's time stamps (default 1)\n"
    "  --loop                    start the log over after its last scan\n"
    "  --bad-checksum-every N    a wrong checksum in every Nth scan\n"
    "  --garbage-every N         every Nth scan replaced by garbage, every other\n"
    "                            time by its first half\n"
    "  --drop-after N            close the connection after N scans on it\n"
    "  --error-status-after N    once, after N scans: an error status; scans are\n"
    "                            refused until RS or RT\n"
    "  --silence-after N         after N scans, silent until the next connection\n"
    "It prints \"pty DEVICE\" and \"tcp PORT\" lines once it serves, then runs until\n"
    "SIGINT or SIGTERM.\n";

namespace {

bool readCount(const std::string& text, int& value) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || number < 0 || number > 1000000000L) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace

bool parseEmulatorArguments(const std::vector<std::string>& words, EmulatorArguments& arguments,
                            std::string& error) {
  struct Count {
    const char* option;
    int* value;
  };
  EmulatorSettings& settings = arguments.settings;
  const Count counts[] = {{"--bad-checksum-every", &settings.badChecksumEvery},
                          {"--garbage-every", &settings.garbageEvery},
                          {"--drop-after", &settings.dropAfter},
                          {"--error-status-after", &settings.errorStatusAfter},
                          {"--silence-after", &settings.silenceAfter},
                          {"--tcp", &arguments.tcpPort}};
  for (std::size_t k = 0; k < words.size(); ++k) {
    const std::string& word = words[k];
    if (word == "-h" || word == "--help") {
      arguments.help = true;
      return true;
    }
    if (word == "--loop") {
      settings.loop = true;
      continue;
    }
    if (word.compare(0, 2, "--") != 0) {
      if (!arguments.logPath.empty()) {
        error = "more than one scan log";
        return false;
      }
      arguments.logPath = word;
      continue;
    }
    if (k + 1 == words.size()) {
      error = word + " needs a value";
      return false;
    }
    const std::string& value = words[++k];
    bool known = false;
    for (const Count& count : counts) {
      if (word != count.option) continue;
      known = true;
      if (!readCount(value, *count.value) || (count.value == &arguments.tcpPort && *count.value > 65535)) {
        error = word + " wants a whole number, not \"" + value + "\"";
        return false;
      }
    }
    if (known) continue;
    if (word == "--link") {
      arguments.linkPath = value;
      arguments.pty = true;
    } else if (word == "--model") {
      arguments.modelName = value;
    } else if (word == "--rate") {
      char* end = nullptr;
      settings.rate = std::strtod(value.c_str(), &end);
      if (value.empty() || *end != '\0' || !(settings.rate > 0) || !std::isfinite(settings.rate)) {
        error = "--rate wants a positive number, not \"" + value + "\"";
        return false;
      }
    } else {
      error = "unknown option " + word;
      return false;
    }
  }
  if (arguments.logPath.empty()) {
    error = "no scan log";
    return false;
  }
  if (arguments.tcpPort < 0) arguments.pty = true;
  return true;
}
