// Data ports: connection through connector profiles, the in-port buffer
// and what a read gives back.
#include "TestSupport.h"

#include <rtm/idl/InterfaceDataTypesSkel.h>

namespace {

struct Ports {
  RTC::TimedLong sent, received;
  RTC::OutPort<RTC::TimedLong> out{"out", sent};
  RTC::InPort<RTC::TimedLong> in{"in", received};
};

TEST(DataPorts, TheBufferKeepsTheNewestSamplesOfTheLengthTheConnectionsGive) {
  // The connections' dataport.buffer.length ("" for none): the largest
  // counts, 8 when none is given.
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{""}, 8}, {{"1"}, 1}, {{"3", "5"}, 5}, {{"12", ""}, 12}, {{"3", ""}, 8}};
  coil::Properties logging;
  logging["logger.file_name"] = "stderr";
  RTC::Logger::configure(logging);
  for (const auto& c : cases) {
    Ports p;
    EXPECT_FALSE(p.in.read()) << "nothing to read back before the first sample";
    RTC::OutPort<RTC::TimedLong> idle("idle", p.sent);
    for (std::size_t i = 0; i < c.first.size(); ++i) {
      Settings settings{{"dataflow_type", "push"}, {"buffer.length", c.first[i]}};
      if (c.first[i].empty()) settings.pop_back();
      ASSERT_EQ(RTC::RTC_OK, connect(i == 0 ? p.out.getPortRef() : idle.getPortRef(), p.in.getPortRef(), settings));
    }
    testing::internal::CaptureStderr();
    for (p.sent.data = 1; p.sent.data <= 20; ++p.sent.data) p.out.write();
    const std::string log = testing::internal::GetCapturedStderr();
    std::vector<int> read, newest;
    while (p.in.isNew() && p.in.read()) read.push_back(p.received.data);
    for (int value = 20 - c.second + 1; value <= 20; ++value) newest.push_back(value);
    EXPECT_EQ(newest, read) << c.second;
    // A full buffer logs its drops at powers of two: 1, 2, 4, 8, 16.
    EXPECT_EQ(c.second == 1 ? 5 : 4, occurrences(log, "buffer full")) << log;
    p.received.data = 0;
    EXPECT_TRUE(p.in.read());
    EXPECT_EQ(20, p.received.data) << "an empty buffer reads the last sample back";
  }
}

TEST(DataPorts, ConnectRefusesWhatCannotFlowAndEndsWithEitherPort) {
  Ports p;
  RTC::TimedLong other;
  RTC::InPort<RTC::TimedLong> in2("in2", other);
  RTC::OutPort<RTC::TimedLong> out2("out2", other);
  RTC::RangeData range;
  RTC::InPort<RTC::RangeData> rangeIn("range", range);
  RTC::PortService_ptr out = p.out.getPortRef(), in = p.in.getPortRef();
  const struct {
    RTC::PortService_ptr first, second;
    Settings settings;
  } cases[] = {{in, in2.getPortRef(), {}}, {out, out2.getPortRef(), {}}, {out, rangeIn.getPortRef(), {}},
               {out, in, {{"dataflow_type", "pull"}}}, {out, in, {{"interface_type", "smoke"}}},
               {out, in, {{"subscription_type", "smoke"}}}};
  for (const auto& c : cases) EXPECT_EQ(RTC::BAD_PARAMETER, connect(c.first, c.second, c.settings)) << &c - cases;
  EXPECT_FALSE(p.out.write()) << "nothing refused was connected";

  // Either port may be listed first; duplicates are separate connections.
  std::string first, second;
  ASSERT_EQ(RTC::RTC_OK, connect(in, out, {}, &first));
  ASSERT_EQ(RTC::RTC_OK, connect(out, in, {{"subscription_type", "periodic"}}, &second));
  EXPECT_NE(first, second);
  EXPECT_EQ(RTC::RTC_OK, p.out.disconnect(first.c_str()));
  EXPECT_EQ(1u, connectionCount(in));
  EXPECT_TRUE(p.out.write());
  {
    RTC::InPort<RTC::TimedLong> gone("gone", other);
    ASSERT_EQ(RTC::RTC_OK, connect(out, gone.getPortRef()));
  }
  EXPECT_EQ(RTC::RTC_OK, p.in.disconnect_all());
  EXPECT_FALSE(p.out.write()) << "a connection ends with either port";
}

}  // namespace
