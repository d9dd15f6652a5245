// The configurations a sweep replays: every combination of the values
// given to each swept parameter, the first parameter varying slowest.
#ifndef STROLVEX_TOOLS_SWEEP_SWEEPGRID_H
#define STROLVEX_TOOLS_SWEEP_SWEEPGRID_H

#include <cstddef>
#include <string>
#include <vector>

struct SweptParameter {
  std::string name;
  std::vector<std::string> values;  // as the component's configuration takes them
};

// More than this many values for one parameter, or configurations in all,
// is taken for a typing error rather than a sweep anyone means to wait for.
const std::size_t kMaxSweptValues = 1000;
const std::size_t kMaxConfigurations = 10000;

class SweepGrid {
 public:
  // Adds one "NAME=V1,V2,..." or "NAME=FROM:TO:STEP"; false with error set
  // when the name is not a parameter that can be swept, is given twice,
  // or its values are empty, not whole numbers in the parameter's range,
  // or too many.
  bool add(const std::string& setting, std::string& error);

  const std::vector<SweptParameter>& parameters() const { return parameters_; }
  std::size_t size() const;
  // The values of configuration index, one per parameter in their order.
  std::vector<std::string> configuration(std::size_t index) const;
  // The configurations in groups that differ in the counting distance
  // alone, each in grid order, the groups in the order of their first:
  // the tracking does not read that distance, so one replay counts for
  // a whole group.
  std::vector<std::vector<std::size_t>> groupsSharingTracking() const;
  // Where the counting distance is among the parameters, else npos.
  std::size_t countingDistanceParameter() const;

 private:
  std::vector<SweptParameter> parameters_;
};

#endif
