#include <gtest/gtest.h>

#include "monitor/MonitorOutput.h"

namespace {

bool displayPresent() { return true; }
bool displayAbsent() { return false; }
bool displayNotWanted() {
  ADD_FAILURE() << "a display was opened though no window is wanted";
  return true;
}

// The description is the one log line that says where frames go.
void expectChoice(const char* setting, bool (*display)(),
                  MonitorOutput::Kind kind, const std::string& description) {
  const MonitorOutput output = chooseMonitorOutput(setting, display);
  EXPECT_EQ(kind, output.kind) << description;
  EXPECT_EQ(description, output.description);
}

TEST(MonitorOutput, ChoiceFollowsTheSettingAndWhetherADisplayOpens) {
  expectChoice(nullptr, &displayPresent, MonitorOutput::kWindow, "window");
  expectChoice(nullptr, &displayAbsent, MonitorOutput::kOff, "off (no display)");
  expectChoice("", &displayAbsent, MonitorOutput::kOff, "off (no display)");
  expectChoice("window", &displayAbsent, MonitorOutput::kOff, "off (no display)");
  expectChoice("off", &displayNotWanted, MonitorOutput::kOff, "off");
  expectChoice("png:/tmp/f.png", &displayNotWanted, MonitorOutput::kPng,
               "png:/tmp/f.png");
  EXPECT_EQ("/tmp/f.png",
            chooseMonitorOutput("png:/tmp/f.png", &displayPresent).path);
  // Unknown values turn the monitor off, and the log line names them.
  for (const char* unknown : {"png:", "Window", "x11"}) {
    const MonitorOutput output = chooseMonitorOutput(unknown, &displayNotWanted);
    EXPECT_EQ(MonitorOutput::kOff, output.kind) << unknown;
    EXPECT_NE(std::string::npos, output.description.find(unknown)) << unknown;
  }
}

}  // namespace
