#include <coil/Properties.h>

#include <gtest/gtest.h>

#include <algorithm>

TEST(Properties, DottedKeysFormATreeAndValuesOverrideDefaults) {
  const char* defaults[] = {"type_name", "Strolvex", " conf.default.Human_NUM ", " 4 ", "ignored", "x", ""};
  coil::Properties props(defaults, 4);
  EXPECT_EQ("4", props.getProperty("conf.default.Human_NUM"));
  EXPECT_EQ(nullptr, props.findNode("ignored"));
  // A default is not a value: operator[] sees the value alone.
  EXPECT_EQ("", props["type_name"]);
  props["conf.default.Human_NUM"] = "3";
  EXPECT_EQ("3", props.getNode("conf.default").getProperty("Human_NUM"));
  EXPECT_EQ("fallback", props.getProperty("conf.default.absent", "fallback"));

  coil::Properties over;
  over["conf.default.Human_NUM"] = "2";
  over["d"] = "4";
  coil::Properties merged(props);
  merged << over;
  std::vector<std::string> names = merged.propertyNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"conf.default.Human_NUM", "d", "type_name"}), names);
  EXPECT_EQ("2", merged.getProperty("conf.default.Human_NUM"));
  EXPECT_EQ("3", props.getProperty("conf.default.Human_NUM")) << "copies are deep";
}
