#include <gtest/gtest.h>

#include "monitor/MonitorOutput.h"

namespace {

bool displayPresent() { return true; }
bool displayAbsent() { return false; }
bool displayNotWanted() {
  ADD_FAILURE() << "a display was opened though no window is wanted";
  return true;
}

// The description is the one log line that says where frames go; unknown
// values turn the monitor off and the line names them.
TEST(MonitorOutput, ChoiceFollowsTheSettingAndWhetherADisplayOpens) {
  struct Case { const char* setting; bool (*display)(); MonitorOutput::Kind kind; const char* said; };
  const Case cases[] = {
      {nullptr, &displayPresent, MonitorOutput::kWindow, "window"},
      {nullptr, &displayAbsent, MonitorOutput::kOff, "off (no display)"},
      {"", &displayAbsent, MonitorOutput::kOff, "off (no display)"},
      {"window", &displayAbsent, MonitorOutput::kOff, "off (no display)"},
      {"off", &displayNotWanted, MonitorOutput::kOff, "off"},
      {"png:/tmp/f.png", &displayNotWanted, MonitorOutput::kPng, "png:/tmp/f.png"},
      {"png:", &displayNotWanted, MonitorOutput::kOff, "png:"},
      {"Window", &displayNotWanted, MonitorOutput::kOff, "Window"},
      {"x11", &displayNotWanted, MonitorOutput::kOff, "x11"}};
  for (const Case& c : cases) {
    const MonitorOutput output = chooseMonitorOutput(c.setting, c.display);
    EXPECT_EQ(c.kind, output.kind) << c.said;
    EXPECT_NE(std::string::npos, output.description.find(c.said)) << output.description;
  }
  EXPECT_EQ("/tmp/f.png", chooseMonitorOutput("png:/tmp/f.png", &displayPresent).path);
}

}  // namespace
