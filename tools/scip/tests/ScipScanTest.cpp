// Scan requests and the decoding of scan replies.
#include <gtest/gtest.h>

#include <cmath>
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
  ScipScanRequest request;
  EXPECT_EQ("MD0044072501000\n", scipScanCommand(request));
  request.encodingChars = 2;
  request.firstStep = 0;
  request.lastStep = 1080;
  request.cluster = 3;
  request.skip = 9;
  request.scans = 99;
  request.tag = "A.z_c+@ 9";
  EXPECT_EQ("MS0000108003999;A.z_c+@ 9\n", scipScanCommand(request));
  EXPECT_EQ(361, request.valueCount());
  request.continuous = false;
  EXPECT_EQ("GS0000108003;A.z_c+@ 9\n", scipScanCommand(request));

  const auto invalid = [](void (*spoil)(ScipScanRequest&)) {
    ScipScanRequest r;
    spoil(r);
    return scipScanCommand(r).empty();
  };
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.firstStep = 800; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.lastStep = 10000; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.cluster = 100; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.skip = 10; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.scans = 100; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.encodingChars = 4; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.tag = "semi;colon"; }));
  EXPECT_TRUE(invalid([](ScipScanRequest& r) { r.tag = std::string(17, 'a'); }));
}

TEST(ScipScan, DecodesValuesAcrossLineEndsInBothEncodings) {
  for (int chars : {2, 3}) {
    for (int last : {44, 64, 65, 725}) {
      ScipScanRequest request;
      request.encodingChars = chars;
      request.lastStep = last;
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
  ScipScanRequest request;
  const std::vector<uint32_t> values(682, 1000);
  const std::vector<std::string> payload = scipScanPayload(5, values, 3);
  std::vector<std::string> shortPayload = payload;
  shortPayload.back().pop_back();
  std::vector<std::string> longPayload = payload;
  longPayload.back() += "000";
  std::vector<std::string> badChar = payload;
  badChar[3][10] = 'z';
  const std::string bytes[] = {
      scipReplyBytes("MD0044072501000", "50"),
      scipReplyBytes("MD0000072501000", "99", payload),
      scipReplyBytes("MD0044072501000", "99", shortPayload),
      scipReplyBytes("MD0044072501000", "99", longPayload),
      scipReplyBytes("MD0044072501000", "99", badChar),
      scipReplyBytes("MD0044072501000", "99", {"00"}),
      scipReplyBytes("MD0044072501000", "99b", payload),
  };
  for (const std::string& reply : bytes) {
    ScipScan scan;
    std::string error;
    EXPECT_FALSE(decodeScan(readOne(reply), request, scan, error)) << reply.substr(0, 40);
    EXPECT_FALSE(error.empty());
  }
}

TEST(ScipScan, RangesByStepMarkErrorCodesAndClustersAsAsked) {
  SensorInfo info;
  info.minRange = 20;
  info.maxRange = 5600;
  info.lastStep = 8;
  ScipScanRequest request;
  request.firstStep = 2;
  request.lastStep = 6;
  request.cluster = 2;
  ScipScan scan;
  scan.values = {19, 20, 5600};
  std::vector<double> ranges;
  scipScanToRanges(scan, request, info, -1.0, ranges);
  EXPECT_EQ((std::vector<double>{-1, -1, -1, -1, 20, 20, 5600, -1, -1}), ranges);
  scan.values = {5601, 0, 1};
  scipScanToRanges(scan, request, info, 0.0, ranges);
  EXPECT_EQ(std::vector<double>(9, 0.0), ranges);
}
