#include "monitor/MonitorOutput.h"

namespace {

MonitorOutput offBecause(const std::string& reason) {
  return MonitorOutput{MonitorOutput::kOff, std::string(), "off (" + reason + ")"};
}

MonitorOutput windowIfReachable(bool (*displayReachable)()) {
  if (!displayReachable()) return offBecause("no display");
  return MonitorOutput{MonitorOutput::kWindow, std::string(), "window"};
}

}  // namespace

MonitorOutput chooseMonitorOutput(const char* setting,
                                  bool (*displayReachable)()) {
  if (setting == nullptr || *setting == '\0') {
    return windowIfReachable(displayReachable);
  }
  const std::string value(setting);
  if (value == "window") return windowIfReachable(displayReachable);
  if (value == "off") return MonitorOutput{MonitorOutput::kOff, std::string(), "off"};
  const std::string pngPrefix = "png:";
  if (value.compare(0, pngPrefix.size(), pngPrefix) == 0 &&
      value.size() > pngPrefix.size()) {
    return MonitorOutput{MonitorOutput::kPng, value.substr(pngPrefix.size()), value};
  }
  return offBecause("unknown STROLVEX_MONITOR value '" + value + "'");
}
