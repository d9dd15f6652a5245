#include <gtest/gtest.h>

#include "monitor/MonitorOutput.h"

namespace {

int displayQueries = 0;
bool displayPresent() {
  ++displayQueries;
  return true;
}
bool displayAbsent() {
  ++displayQueries;
  return false;
}

TEST(MonitorOutput, UnsetMeansWindowWhenADisplayOpens) {
  const MonitorOutput present = chooseMonitorOutput(nullptr, &displayPresent);
  EXPECT_EQ(MonitorOutput::kWindow, present.kind);
  EXPECT_EQ("window", present.description);
  const MonitorOutput absent = chooseMonitorOutput(nullptr, &displayAbsent);
  EXPECT_EQ(MonitorOutput::kOff, absent.kind);
  EXPECT_EQ("off (no display)", absent.description);
  EXPECT_EQ(MonitorOutput::kOff, chooseMonitorOutput("", &displayAbsent).kind);
}

TEST(MonitorOutput, ExplicitChoices) {
  EXPECT_EQ(MonitorOutput::kWindow,
            chooseMonitorOutput("window", &displayPresent).kind);
  const MonitorOutput noDisplay = chooseMonitorOutput("window", &displayAbsent);
  EXPECT_EQ(MonitorOutput::kOff, noDisplay.kind);
  EXPECT_EQ("off (no display)", noDisplay.description);

  displayQueries = 0;
  const MonitorOutput png =
      chooseMonitorOutput("png:/tmp/frames/monitor.png", &displayPresent);
  EXPECT_EQ(MonitorOutput::kPng, png.kind);
  EXPECT_EQ("/tmp/frames/monitor.png", png.path);
  EXPECT_EQ("png:/tmp/frames/monitor.png", png.description);
  const MonitorOutput off = chooseMonitorOutput("off", &displayPresent);
  EXPECT_EQ(MonitorOutput::kOff, off.kind);
  EXPECT_EQ("off", off.description);
  EXPECT_EQ(0, displayQueries);  // no display is opened when none is wanted
}

TEST(MonitorOutput, UnknownValuesTurnTheMonitorOffAndSaySo) {
  for (const char* value : {"png:", "Window", "png", "x11"}) {
    const MonitorOutput output = chooseMonitorOutput(value, &displayPresent);
    EXPECT_EQ(MonitorOutput::kOff, output.kind) << value;
    EXPECT_NE(std::string::npos, output.description.find(value)) << value;
  }
}

}  // namespace
