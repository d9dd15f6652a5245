#include <coil/Properties.h>
#include <coil/stringutil.h>

#include <gtest/gtest.h>

#include <algorithm>

TEST(Properties, DottedKeysFormATreeAndValuesOverrideDefaults) {
  const char* defaults[] = {"type_name", "Strolvex", " conf.default.Human_NUM ", " 4 ", "ignored", "x", ""};
  coil::Properties props(defaults, 4);
  EXPECT_EQ("Strolvex", props.getProperty("type_name"));
  EXPECT_EQ("4", props.getProperty("conf.default.Human_NUM"));
  EXPECT_EQ(nullptr, props.findNode("ignored"));
  // A default is not a value: operator[] sees the value alone.
  EXPECT_EQ("", props["type_name"]);
  props["conf.default.Human_NUM"] = "3";
  EXPECT_EQ("3", props.getProperty("conf.default.Human_NUM"));

  coil::Properties& conf = props.getNode("conf.default");
  EXPECT_EQ("3", conf.getProperty("Human_NUM"));
  EXPECT_NE(nullptr, props.findNode("conf")->hasKey("default"));
  EXPECT_EQ(nullptr, props.hasKey("default"));
  EXPECT_EQ("fallback", props.getProperty("conf.default.absent", "fallback"));
  EXPECT_EQ("3", props.setProperty("conf.default.Human_NUM", "2"));
}

TEST(Properties, MergeAndCopyAreDeep) {
  coil::Properties base;
  base["a.b"] = "1";
  base["a.c"] = "2";
  coil::Properties over;
  over["a.c"] = "3";
  over["d"] = "4";
  base << over;
  std::vector<std::string> names = base.propertyNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"a.b", "a.c", "d"}), names);
  EXPECT_EQ("3", base.getProperty("a.c"));

  coil::Properties copy(base);
  copy["a.b"] = "changed";
  EXPECT_EQ("1", base.getProperty("a.b"));
  copy = over;
  EXPECT_EQ(nullptr, copy.findNode("a.b"));
}

TEST(StringTo, ConvertsByStreamExtraction) {
  int number = -1;
  EXPECT_TRUE(coil::stringTo(number, "12abc"));
  EXPECT_EQ(12, number);
  EXPECT_TRUE(coil::stringTo(number, " -7"));
  EXPECT_EQ(-7, number);
  EXPECT_FALSE(coil::stringTo(number, "abc"));
  EXPECT_FALSE(coil::stringTo(number, ""));
  EXPECT_FALSE(coil::stringTo(number, nullptr));
  EXPECT_FALSE(coil::stringTo(number, "99999999999"));
  double real = 0.0;
  EXPECT_TRUE(coil::stringTo(real, "2.5e1"));
  EXPECT_EQ(25.0, real);
  std::string text;
  EXPECT_TRUE(coil::stringTo(text, " two words "));
  EXPECT_EQ(" two words ", text);
}

TEST(StringUtil, SplitTrimsEachPart) {
  EXPECT_EQ((coil::vstring{"a.so", "b.so(Init)", ""}), coil::split(" a.so , b.so(Init),", ","));
  EXPECT_EQ((coil::vstring{"a.so", "b.so(Init)"}), coil::split(" a.so , b.so(Init),", ",", true));
  EXPECT_TRUE(coil::split("", ",").empty());
  EXPECT_EQ("n=3 x", coil::sprintf("n=%d %s", 3, "x"));
}
