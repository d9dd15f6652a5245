#include "tools/sweep/SweepCommandLine.h"

#include <cerrno>
#include <cstdlib>

#include "launcher/ManagerArguments.h"

namespace {

const long kMaxJobs = 1024;

bool parseCount(const std::string& text, long highest, long& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value <= highest;
}

bool parseTruth(const std::string& text, TrueCounts& truth) {
  const std::size_t comma = text.find(',');
  long in = 0, out = 0;
  if (comma == std::string::npos || !parseCount(text.substr(0, comma), 2147483647L, in) ||
      !parseCount(text.substr(comma + 1), 2147483647L, out))
    return false;
  truth.in = in;
  truth.out = out;
  return true;
}

}  // namespace

bool parseSweepCommandLine(const std::vector<std::string>& args, SweepCommandLine& line,
                           std::string& error) {
  std::vector<std::string> operands;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg == "-h" || arg == "--help") {
      line.help = true;
      return true;
    }
    const bool takesValue = arg == "--set" || arg == "-j" || arg == "--truth" || arg == "--csv" ||
                            arg == "-f" || arg == "-o";
    if (!takesValue) {
      if (!arg.empty() && arg[0] == '-' && arg != "-") {
        error = "unknown option '" + arg + "'";
        return false;
      }
      operands.push_back(arg);
      continue;
    }
    if (k + 1 == args.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++k];
    long jobs = 0;
    if (arg == "--set") {
      if (!line.grid.add(value, error)) return false;
    } else if (arg == "-j") {
      if (!parseCount(value, kMaxJobs, jobs) || jobs < 1) {
        error = "-j " + value + ": not a count of 1.." + std::to_string(kMaxJobs);
        return false;
      }
      line.jobs = static_cast<int>(jobs);
    } else if (arg == "--truth") {
      if (!parseTruth(value, line.truth)) {
        error = "--truth " + value + ": not IN,OUT (two counts)";
        return false;
      }
      line.hasTruth = true;
    } else if (arg == "--csv") {
      line.csvPath = value;
    } else {
      line.managerOptions.push_back(arg);
      line.managerOptions.push_back(value);
    }
  }
  ManagerArguments manager;
  if (!manager.parse(line.managerOptions, ManagerArguments::kNoServantOptions, error)) return false;
  if (operands.size() != 1) {
    error = operands.empty() ? "no scan log named" : "more than one scan log named";
    return false;
  }
  line.logPath = operands.front();
  return true;
}
