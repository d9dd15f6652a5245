// Grid settings and the command line around them: what a grid holds, and
// every bad setting refused with a message that names what is wrong.
#include <gtest/gtest.h>

#include "tools/sweep/SweepCommandLine.h"
#include "tools/sweep/SweepGrid.h"

TEST(SweepGrid, ListsAndRangesGiveTheirValuesAndSeveralMultiply) {
  const struct { const char* setting; std::vector<std::string> values; } cases[] = {
      {"Human_width=+150,-20", {"150", "-20"}},
      {"Count_area_distance=2400:2650:100", {"2400", "2500", "2600"}},  // TO need not be hit
      {"Human_NUM=3:3:1", {"3"}},
      {"LRFdata_min=9:1090:1081", {"9", "1090"}},
  };
  std::string error;
  for (const auto& c : cases) {
    SweepGrid grid;
    ASSERT_TRUE(grid.add(c.setting, error)) << error;
    EXPECT_EQ(c.values, grid.parameters().at(0).values) << c.setting;
  }
  SweepGrid grid;
  ASSERT_TRUE(grid.add("Human_width=150,200", error) && grid.add("Count_area_distance=2400:2600:100", error));
  ASSERT_EQ(6u, grid.size()) << "the first setting varies slowest";
  EXPECT_EQ((std::vector<std::string>{"150", "2600"}), grid.configuration(2));
  EXPECT_EQ((std::vector<std::string>{"200", "2400"}), grid.configuration(3));
  EXPECT_EQ(1u, SweepGrid().size()) << "no setting: the defaults alone";
}

TEST(SweepGrid, ConfigurationsDifferingInTheCountingDistanceAloneShareTheirTracking) {
  typedef std::vector<std::vector<std::size_t>> Groups;
  std::string error;
  SweepGrid grid;
  ASSERT_TRUE(grid.add("Count_area_distance=2400,2500,2400", error) && grid.add("Human_width=150,200", error));
  EXPECT_EQ((Groups{{0, 2, 4}, {1, 3, 5}}), grid.groupsSharingTracking());
  SweepGrid without;
  ASSERT_TRUE(without.add("Human_width=150,200", error));
  EXPECT_EQ((Groups{{0}, {1}}), without.groupsSharingTracking());
}

TEST(SweepGrid, BadSettingsAreRefusedWithTheirReason) {
  // The last setting is refused with an error that holds the message.
  const struct { std::vector<const char*> settings; const char* message; } cases[] = {
      {{"Human_widht=200"}, "unknown parameter 'Human_widht'"},
      {{"Human_width"}, "not NAME=VALUES"},
      {{"Count_mode=OUT,IN"}, "Count_mode"},
      {{"Human_width="}, "Human_width: no values"},
      {{"Human_width=100,"}, "empty value"},
      {{"Human_width=2500.5"}, "'2500.5' is not a whole number"},
      {{"Human_width=9999999999"}, "outside"},
      {{"Human_NUM=0,4"}, "Human_NUM: 0 is outside 1..10"},
      {{"Human_NUM=1:11:1"}, "11 is outside 1..10"},
      {{"Human_width=100:200:0"}, "step 0 is not above 0"},
      {{"Human_width=300:200:10"}, "FROM 300 is above TO 200"},
      {{"Human_width=100:200"}, "not FROM:TO:STEP"},
      {{"Human_width=0:100000:1"}, "100001 values, more than 1000"},
      {{"Human_width=100,200", "Human_width=300"}, "Human_width is set twice"},
      {{"Human_width=1:500:1", "StrolvexData=1:500:1"}, "250000 configurations, more than 10000"},
  };
  for (const auto& c : cases) {
    SweepGrid grid;
    std::string error;
    for (std::size_t k = 0; k + 1 < c.settings.size(); ++k) ASSERT_TRUE(grid.add(c.settings[k], error)) << error;
    EXPECT_FALSE(grid.add(c.settings.back(), error)) << c.settings.back();
    EXPECT_NE(std::string::npos, error.find(c.message)) << c.settings.back() << ": " << error;
  }
}

TEST(SweepCommandLine, BadOptionsAreRefusedWithTheirReason) {
  const struct { std::vector<std::string> args; const char* message; } cases[] = {
      {{}, "no scan log named"},
      {{"a.log", "b.log"}, "more than one scan log"},
      {{"a.log", "--sets", "Human_NUM=2"}, "unknown option '--sets'"},
      {{"a.log", "--set"}, "--set needs a value"},
      {{"a.log", "--set", "Human_NUM=11"}, "outside 1..10"},
      {{"a.log", "-j", "0"}, "-j 0"},
      {{"a.log", "--truth", "3,-1"}, "--truth 3,-1"},
      {{"a.log", "-f", "/no/such/file.conf"}, "/no/such/file.conf"},
  };
  for (const auto& c : cases) {
    SweepCommandLine line;
    std::string error;
    EXPECT_FALSE(parseSweepCommandLine(c.args, line, error)) << c.message;
    EXPECT_NE(std::string::npos, error.find(c.message)) << error;
  }
  SweepCommandLine line;
  std::string error;
  ASSERT_TRUE(parseSweepCommandLine({"a.log", "-o", "logger.log_level:ERROR", "--truth", "4,5", "-j", "3",
                                     "--set", "Human_NUM=2,3"}, line, error)) << error;
  EXPECT_EQ(3, line.jobs);
  EXPECT_TRUE(line.hasTruth && line.truth.in == 4 && line.truth.out == 5);
  EXPECT_EQ((std::vector<std::string>{"-o", "logger.log_level:ERROR"}), line.managerOptions);
}
