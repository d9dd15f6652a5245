#include "tools/sweep/SweepGrid.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>

namespace {

// The component's integer parameters and the values it works with; it
// ignores every scan while a value is outside these, so a sweep over them
// would only print empty rows.
struct IntegerParameter {
  const char* name;
  long long lowest, highest;
};

const char* const kCountingDistance = "Count_area_distance";

const long long kInt32Min = std::numeric_limits<int32_t>::min();
const long long kInt32Max = std::numeric_limits<int32_t>::max();

const IntegerParameter kSweepable[] = {
    {"Human_NUM", 1, 10},
    {"Environmental_maxdata", kInt32Min, kInt32Max},
    {"LRFdata_min", 9, 1090},
    {"LRFdata_max", 9, 1090},
    {"LRFdata_mid", kInt32Min, kInt32Max},
    {"LRFdata_theta", 1, kInt32Max},
    {"LRF_Total_steps", 1, kInt32Max},
    {"Human_width", kInt32Min, kInt32Max},
    {"Human_setdistance", kInt32Min, kInt32Max},
    {"StrolvexData", kInt32Min, kInt32Max},
    {kCountingDistance, kInt32Min, kInt32Max},
};

const IntegerParameter* findSweepable(const std::string& name) {
  for (const IntegerParameter& parameter : kSweepable)
    if (name == parameter.name) return &parameter;
  return nullptr;
}

std::string sweepableNames() {
  std::string names;
  for (const IntegerParameter& parameter : kSweepable)
    names += (names.empty() ? "" : ", ") + std::string(parameter.name);
  return names;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

bool parseWhole(const std::string& text, long long& value) {
  if (text.empty() || text.find_first_of(" \t") != std::string::npos) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

class ValueReader {
 public:
  ValueReader(const IntegerParameter& parameter, std::string& error)
      : parameter_(parameter), error_(error) {}

  bool read(const std::string& text, long long& value) {
    if (!parseWhole(text, value))
      return fail("'" + text + "' is not a whole number");
    if (value < parameter_.lowest || value > parameter_.highest)
      return fail(text + " is outside " + std::to_string(parameter_.lowest) + ".." +
                  std::to_string(parameter_.highest));
    return true;
  }

  bool fail(const std::string& message) {
    error_ = std::string(parameter_.name) + ": " + message;
    return false;
  }

 private:
  const IntegerParameter& parameter_;
  std::string& error_;
};

bool readList(const std::string& list, ValueReader& reader, std::vector<std::string>& values) {
  for (const std::string& text : split(list, ',')) {
    long long value = 0;
    if (text.empty()) return reader.fail("empty value in '" + list + "'");
    if (!reader.read(text, value)) return false;
    values.push_back(std::to_string(value));
  }
  if (values.size() > kMaxSweptValues)
    return reader.fail(std::to_string(values.size()) + " values, more than " +
                       std::to_string(kMaxSweptValues));
  return true;
}

bool readRange(const std::string& range, ValueReader& reader, std::vector<std::string>& values) {
  const std::vector<std::string> parts = split(range, ':');
  if (parts.size() != 3) return reader.fail("'" + range + "' is not FROM:TO:STEP");
  long long from = 0, to = 0, step = 0;
  if (!reader.read(parts[0], from) || !reader.read(parts[1], to)) return false;
  if (!parseWhole(parts[2], step)) return reader.fail("step '" + parts[2] + "' is not a whole number");
  if (step <= 0) return reader.fail("step " + parts[2] + " is not above 0");
  if (from > to) return reader.fail("FROM " + parts[0] + " is above TO " + parts[1]);
  // Both ends lie in int32, so neither the difference nor the count overflows.
  const long long count = (to - from) / step + 1;
  if (count > static_cast<long long>(kMaxSweptValues))
    return reader.fail("'" + range + "' gives " + std::to_string(count) + " values, more than " +
                       std::to_string(kMaxSweptValues));
  for (long long k = 0; k < count; ++k) values.push_back(std::to_string(from + k * step));
  return true;
}

}  // namespace

bool SweepGrid::add(const std::string& setting, std::string& error) {
  const std::size_t equals = setting.find('=');
  if (equals == std::string::npos) {
    error = "'" + setting + "' is not NAME=VALUES";
    return false;
  }
  const std::string name = setting.substr(0, equals);
  const std::string values = setting.substr(equals + 1);
  if (name == "Count_mode") {
    error = "Count_mode only swaps IN and OUT and cannot be swept; set it for every "
            "configuration with -o Category.Strolvex.conf.default.Count_mode:OUT,IN";
    return false;
  }
  const IntegerParameter* parameter = findSweepable(name);
  if (parameter == nullptr) {
    error = "unknown parameter '" + name + "' (one of " + sweepableNames() + ")";
    return false;
  }
  for (const SweptParameter& swept : parameters_)
    if (swept.name == name) {
      error = name + " is set twice";
      return false;
    }
  ValueReader reader(*parameter, error);
  if (values.empty()) return reader.fail("no values");
  SweptParameter swept{name, {}};
  const bool read = values.find(':') != std::string::npos ? readRange(values, reader, swept.values)
                                                          : readList(values, reader, swept.values);
  if (!read) return false;
  if (size() * swept.values.size() > kMaxConfigurations) {
    error = "the grid would have " + std::to_string(size() * swept.values.size()) +
            " configurations, more than " + std::to_string(kMaxConfigurations);
    return false;
  }
  parameters_.push_back(swept);
  return true;
}

std::size_t SweepGrid::size() const {
  std::size_t configurations = 1;
  for (const SweptParameter& parameter : parameters_) configurations *= parameter.values.size();
  return configurations;
}

std::vector<std::string> SweepGrid::configuration(std::size_t index) const {
  std::vector<std::string> values(parameters_.size());
  for (std::size_t k = parameters_.size(); k-- > 0;) {
    const std::vector<std::string>& choices = parameters_[k].values;
    values[k] = choices[index % choices.size()];
    index /= choices.size();
  }
  return values;
}

std::size_t SweepGrid::countingDistanceParameter() const {
  for (std::size_t k = 0; k < parameters_.size(); ++k)
    if (parameters_[k].name == kCountingDistance) return k;
  return std::string::npos;
}

std::vector<std::vector<std::size_t>> SweepGrid::groupsSharingTracking() const {
  const std::size_t distance = countingDistanceParameter();
  std::vector<std::vector<std::size_t>> groups;
  std::map<std::vector<std::string>, std::size_t> groupOf;
  for (std::size_t index = 0; index < size(); ++index) {
    std::vector<std::string> tracking = configuration(index);
    if (distance != std::string::npos) tracking[distance].clear();
    const auto found = groupOf.emplace(tracking, groups.size());
    if (found.second) groups.emplace_back();
    groups[found.first->second].push_back(index);
  }
  return groups;
}
