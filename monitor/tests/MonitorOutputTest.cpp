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
  for (const Case& c : {Case{nullptr, &displayPresent, MonitorOutput::kWindow, "window"},
                        Case{"", &displayAbsent, MonitorOutput::kOff, "off (no display)"},
                        Case{"window", &displayAbsent, MonitorOutput::kOff, "off (no display)"},
                        Case{"off", &displayNotWanted, MonitorOutput::kOff, "off"},
                        Case{"png:/tmp/f.png", &displayNotWanted, MonitorOutput::kPng, "png:/tmp/f.png"},
                        Case{"png:", &displayNotWanted, MonitorOutput::kOff, "png:"},
                        Case{"Window", &displayNotWanted, MonitorOutput::kOff, "Window"}}) {
    const MonitorOutput output = chooseMonitorOutput(c.setting, c.display);
    EXPECT_EQ(c.kind, output.kind) << c.said;
    EXPECT_NE(std::string::npos, output.description.find(c.said)) << output.description;
  }
  EXPECT_EQ("/tmp/f.png", chooseMonitorOutput("png:/tmp/f.png", &displayPresent).path);
}

}  // namespace
