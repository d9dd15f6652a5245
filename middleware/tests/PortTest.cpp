#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/InPort.h>
#include <rtm/OutPort.h>

#include <gtest/gtest.h>

TEST(Ports, BufferKeepsTheNewestSamplesInOrder) {
  RTC::TimedLong sent;
  RTC::TimedLong received;
  RTC::OutPort<RTC::TimedLong> out("out", sent);
  RTC::InPort<RTC::TimedLong> in("in", received, 3);
  EXPECT_FALSE(out.write()) << "nothing connected";
  ASSERT_TRUE(out.connect(in));
  EXPECT_FALSE(out.connect(in)) << "already connected";
  EXPECT_FALSE(in.isNew());
  EXPECT_FALSE(in.read());

  RTC::Logger::configure(coil::Properties());  // default level: warnings shown
  testing::internal::CaptureStderr();
  for (int value = 1; value <= 5; ++value) {
    sent.data = value;
    EXPECT_TRUE(out.write());
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, log.find("dropped the oldest sample (2 dropped so far)")) << log;
  EXPECT_TRUE(in.isNew());
  for (int expected = 3; expected <= 5; ++expected) {
    ASSERT_TRUE(in.read());
    EXPECT_EQ(expected, received.data);
  }
  EXPECT_FALSE(in.isNew());
  EXPECT_FALSE(in.read());
}

TEST(Ports, WriteCopiesToEveryLiveConnectionAndKeepsTheTimestamp) {
  RTC::TimedLongSeq sent;
  RTC::TimedLongSeq first;
  RTC::TimedLongSeq second;
  RTC::OutPort<RTC::TimedLongSeq> out("out", sent);
  RTC::InPort<RTC::TimedLongSeq> in("in", first);
  {
    RTC::InPort<RTC::TimedLongSeq> gone("gone", second);
    ASSERT_TRUE(out.connect(gone));
  }
  EXPECT_FALSE(out.write()) << "the in-port is gone";
  {
    RTC::OutPort<RTC::TimedLongSeq> gone("gone", sent);
    ASSERT_TRUE(gone.connect(in));
  }
  RTC::InPort<RTC::TimedLongSeq> other("other", second);
  ASSERT_TRUE(out.connect(in));
  ASSERT_TRUE(out.connect(other));
  sent.tm.sec = 7;
  sent.data.length(2);
  sent.data[1] = 20;
  ASSERT_TRUE(out.write());
  sent.data[1] = 99;
  ASSERT_TRUE(in.read());
  ASSERT_TRUE(other.read());
  EXPECT_EQ(20, first.data[1]);
  EXPECT_EQ(20, second.data[1]);
  EXPECT_EQ(7u, first.tm.sec);

  RTC::RangeData range;
  RTC::InPort<RTC::RangeData> wrongType("range", range);
  EXPECT_FALSE(out.connect(wrongType));
  setTimestamp(sent);
  EXPECT_GT(sent.tm.sec, 1500000000u);
}

TEST(Sequences, IndexPastTheLengthThrowsBadParam) {
  RTC::RangeData range;
  range.ranges.length(2);
  EXPECT_NO_THROW(range.ranges[1] = 1500.0);
  EXPECT_THROW(range.ranges[2] = 0.0, CORBA::BAD_PARAM);
  const RTC::TimedLongSeq empty{};
  EXPECT_THROW(empty.data[0], CORBA::BAD_PARAM);
}
