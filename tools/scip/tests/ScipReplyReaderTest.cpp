// The reader on whole, split, broken and hostile byte streams.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "tools/scip/ScipReplyReader.h"
#include "tools/scip/ScipReplyWriter.h"

namespace {

std::vector<ScipReply> readAll(ScipReplyReader& reader) {
  std::vector<ScipReply> replies;
  ScipReply reply;
  while (reader.next(reply)) replies.push_back(reply);
  return replies;
}

std::string frame(uint32_t stamp) {
  std::vector<uint32_t> values(682);
  std::iota(values.begin(), values.end(), 1234u);
  return scipReplyBytes("MD0044072501000", "99", scipScanPayload(stamp, values, 3));
}

std::string repeated(const std::string& text, int times) { return times ? text + repeated(text, times - 1) : ""; }

}  // namespace

TEST(ScipReplyReader, AssemblesRepliesWhateverTheChunking) {
  const std::string stream = "\n" + scipReplyBytes("BM", "02") + frame(1) +
                             "SCIP2.0\n0\n\n" + scipInfoReplyBytes("PP", {{"DMIN", "20"}, {"AMIN", "44"}});
  for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{64}, stream.size()}) {
    ScipReplyReader reader;
    for (std::size_t at = 0; at < stream.size(); at += chunk) reader.feed(stream.substr(at, chunk));
    const std::vector<ScipReply> replies = readAll(reader);
    ASSERT_EQ(4u, replies.size()) << chunk;
    EXPECT_TRUE(replies[0].echo == "BM" && replies[0].status == "02" && replies[0].payload.empty());
    EXPECT_EQ("99", replies[1].status);
    ASSERT_EQ(33u, replies[1].payload.size());
    EXPECT_EQ("0CB0CC0CD0CE0CF0CG0CH0CI0CJ0CK0CL0CM0CN0CO0CP0CQ0CR0CS0CT0CU0CV0", replies[1].payload[1]);
    EXPECT_EQ("0", replies[2].status);
    EXPECT_EQ((std::vector<std::string>{"DMIN:20;", "AMIN:44;"}), replies[3].payload);
    for (const ScipReply& reply : replies) EXPECT_TRUE(reply.ok()) << reply.echo << ": " << reply.detail;
    EXPECT_FALSE(reader.midReply());
  }
}

TEST(ScipReplyReader, ReportsBrokenRepliesAndReadsTheNextOne) {
  std::string badSum = frame(2);
  badSum[badSum.find("0CB")] = '1';
  const std::string full = frame(3);
  const struct {
    const char* name;
    std::string bytes;
    ScipReply::Problem problem;
  } cases[] = {
      {"checksum", badSum, ScipReply::kChecksum},
      {"cut mid-line", full.substr(0, 600), ScipReply::kTruncated},
      {"cut after a line", full.substr(0, full.find("0CB")), ScipReply::kTruncated},
      {"no status", "QT\n\n", ScipReply::kGarbled},
      {"binary", std::string("\x01\xff\x80zz\n\x02\x03\n\n", 10), ScipReply::kGarbled},
      {"long status", "MD\n00P00P\n\n", ScipReply::kGarbled},
      {"long line", "MD\n99b\n" + std::string(300, 'A') + "\n\n", ScipReply::kOversize},
      {"many lines", "MD\n99b\n" + repeated("xx\n", 300) + "\n", ScipReply::kOversize},
  };
  for (const auto& c : cases) {
    ScipReplyReader reader;
    reader.feed(c.bytes + frame(4));
    const std::vector<ScipReply> replies = readAll(reader);
    ASSERT_EQ(2u, replies.size()) << c.name;
    EXPECT_TRUE(c.problem == replies[0].problem && !replies[0].detail.empty()) << c.name << ": " << replies[0].detail;
    EXPECT_TRUE(replies[1].ok()) << c.name << ": " << replies[1].detail;
    EXPECT_EQ("0004", replies[1].payload.at(0)) << c.name;
  }
}

TEST(ScipReplyReader, MemoryStaysBoundedWithoutLineEndsAndResetForgetsAPartReply) {
  ScipReplyReader reader;
  reader.feed(std::string(100000, 'Z') + "\n\n" + repeated(scipReplyBytes("QT", "00"), 200));
  std::vector<ScipReply> replies = readAll(reader);
  ASSERT_EQ(ScipReplyReader::kMaxPending, replies.size());
  EXPECT_EQ(200 + 1 - ScipReplyReader::kMaxPending, reader.dropped());
  EXPECT_EQ("QT", replies.back().echo);
  reader.feed("MD\n99b\nabc");
  EXPECT_TRUE(reader.midReply());
  reader.reset();
  reader.feed("\n" + scipReplyBytes("QT", "00"));
  replies = readAll(reader);
  EXPECT_TRUE(replies.size() == 1 && replies[0].ok());
}
