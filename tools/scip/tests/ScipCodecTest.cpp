// The encoding and the sums, against values worked out by hand from
// captured sensor output.
#include <gtest/gtest.h>

#include <string>

#include "tools/scip/ScipCodec.h"

TEST(ScipCodec, EncodesAndDecodesKnownValuesAndBoundaries) {
  struct Case {
    uint32_t value;
    int chars;
    const char* text;
  };
  const Case cases[] = {{1234, 2, "CB"},      {5432, 3, "1Dh"},   {16000000, 4, "m2@0"}, {0, 2, "00"},
                        {4095, 2, "oo"},      {262143, 3, "ooo"}, {16777215, 4, "oooo"}, {64, 2, "10"},
                        {123456, 4, "0N90"}, {63, 1, "o"}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, scipEncode(c.value, c.chars)) << c.value;
    uint32_t decoded = 1;
    ASSERT_TRUE(scipDecode(c.text, c.chars, decoded)) << c.text;
    EXPECT_EQ(c.value, decoded) << c.text;
  }
  // Counters wrap rather than spill into a neighbouring value.
  EXPECT_EQ("00", scipEncode(4096, 2));
  uint32_t value = 7;
  for (const char* text : {"/0", "p0", "0\x7f", std::string("0\0", 2).c_str()}) {
    EXPECT_FALSE(scipDecode(text, 2, value)) << text;
  }
  EXPECT_EQ(7u, value);
}

TEST(ScipCodec, LineSumsMatchCapturedLines) {
  for (const char* line : {"00P", "99b", "01Q", "02R", "0Ee", "0Ff", "0Ll", "0Mm", "10Q", "0N90W",
                           "0CB0CC0CD0CE0CF0CG0CH0CI0CJ0CK0CL0CM0CN0CO0CP0CQ0CR0CS0CT0CU0CV0K"})
    EXPECT_TRUE(scipLineSumOk(line)) << line;
  for (const char* line : {"00Q", "99a", "", "P", "0N90X"}) EXPECT_FALSE(scipLineSumOk(line)) << line;
}

TEST(ScipCodec, InfoLinesAcceptEachSensorsReading) {
  // Captured URG-04LX lines: the sum leaves the ';' out.
  for (const char* line : {"VEND:Hokuyo Automatic Co.,Ltd.;[", "PROT:SCIP 2.0;N", "SERI:H0614967;V",
                           "MODL:URG-04LX(Hokuyo Automatic Co.,Ltd.);N", "DMIN:20;4", "DMAX:5600;_",
                           "ARES:1024;\\", "AMIN:44;7", "AMAX:725;o", "AFRT:384;6", "SCAN:600;e",
                           "FIRM:3.1.00(18/Jan./2007);`"}) {
    EXPECT_TRUE(scipInfoLineSumOk(line)) << line;
    EXPECT_FALSE(scipLineSumOk(line)) << line;
  }
  // With the ';' in the sum, and with an II comment left out of it.
  const std::string withSemicolon = "DMIN:20;" + std::string(1, scipChecksum("DMIN:20;"));
  EXPECT_TRUE(scipInfoLineSumOk(withSemicolon));
  const std::string status = "STAT:ok<-note;";
  EXPECT_TRUE(scipInfoLineSumOk(status + scipChecksum("STAT:ok")));
  EXPECT_TRUE(scipInfoLineSumOk(status + scipChecksum("STAT:ok<-note")));
  EXPECT_FALSE(scipInfoLineSumOk("DMIN:20;5"));
  EXPECT_FALSE(scipInfoLineSumOk(";"));
}
