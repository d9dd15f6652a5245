// Scan requests and the decoding of scan replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipReplyWriter.h"
#include "tools/scip/ScipScan.h"

namespace {

ScipReply readOne(const std::string& bytes) {
  ScipReplyReader reader;
  reader.feed(bytes);
  ScipReply reply;
  EXPECT_TRUE(reader.next(reply));
  return reply;
}

}  // namespace

TEST(ScipScanRequest, CommandsCarryFixedWidthFields) {
  EXPECT_EQ("MD0044072501000\n", scipScanCommand(ScipScanRequest()));
  ScipScanRequest request = {true, 2, 0, 1080, 3, 9, 99, "A.z_c+@ 9"};
  EXPECT_EQ("MS0000108003999;A.z_c+@ 9\n", scipScanCommand(request));
  EXPECT_EQ(361, request.valueCount());
  request.continuous = false;
  EXPECT_EQ("GS0000108003;A.z_c+@ 9\n", scipScanCommand(request));
}

TEST(ScipScan, DecodesValuesAcrossLineEndsInBothEncodings) {
  for (int chars : {2, 3}) {
    for (int last : {44, 64, 65, 725}) {
      const ScipScanRequest request = {true, chars, 44, last, 1, 0, 0, ""};
      std::vector<uint32_t> values;
      for (int s = 44; s <= last; ++s) values.push_back(static_cast<uint32_t>((s * 37) % (chars == 2 ? 4096 : 262144)));
      const ScipReply reply =
          readOne(scipReplyBytes("junk" + request.echoPrefix() + "007", "99", scipScanPayload(16777215, values, chars)));
      ScipScan scan;
      std::string error;
      ASSERT_TRUE(decodeScan(reply, request, scan, error)) << chars << " " << last << ": " << error;
      EXPECT_EQ(16777215u, scan.stamp);
      EXPECT_EQ(values, scan.values);
      EXPECT_EQ(7, scan.remaining);
    }
  }
}

TEST(ScipScan, RefusesRepliesThatAreNotTheScanAskedFor) {
  std::vector<std::vector<std::string>> payloads(4, scipScanPayload(5, std::vector<uint32_t>(682, 1000), 3));
  payloads[1].back().pop_back();  // a value short
  payloads[2].back() += "000";    // a value over
  payloads[3][3][10] = 'z';       // outside the encoding
  const std::string echo = "MD0044072501000", bytes[] = {
      scipReplyBytes(echo, "50"), scipReplyBytes("MD0000072501000", "99", payloads[0]), scipReplyBytes(echo, "99", payloads[1]),
      scipReplyBytes(echo, "99", payloads[2]), scipReplyBytes(echo, "99", payloads[3]), scipReplyBytes(echo, "99", {"00"}),
      scipReplyBytes(echo, "99b", payloads[0])};
  for (const std::string& reply : bytes) {
    ScipScan scan;
    std::string error;
    EXPECT_FALSE(decodeScan(readOne(reply), ScipScanRequest(), scan, error)) << reply.substr(0, 40);
    EXPECT_FALSE(error.empty());
  }
}

TEST(ScipScan, RangesByStepMarkErrorCodesAndClustersAsAsked) {
  const SensorInfo info = {"", "", "", "", "", "", 20, 5600, 1024, 0, 8, 4, 600};
  const ScipScanRequest request = {true, 3, 2, 6, 2, 0, 0, ""};
  ScipScan scan = {0, {19, 20, 5600}, 0};
  std::vector<double> ranges;
  scipScanToRanges(scan, request, info, -1.0, ranges);
  EXPECT_EQ((std::vector<double>{-1, -1, -1, -1, 20, 20, 5600, -1, -1}), ranges);
  scan.values = {5601, 0, 1};
  scipScanToRanges(scan, request, info, 0.0, ranges);
  EXPECT_EQ(std::vector<double>(9, 0.0), ranges);
}
