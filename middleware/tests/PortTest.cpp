#include "RecordingComponent.h"
#include "TestSupport.h"

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/InPort.h>
#include <rtm/OutPort.h>

TEST(Ports, BufferKeepsTheNewestSamplesInOrder) {
  RTC::TimedLong sent;
  RTC::TimedLong received;
  RTC::OutPort<RTC::TimedLong> out("out", sent);
  RTC::InPort<RTC::TimedLong> in("in", received, 3);
  EXPECT_FALSE(out.write()) << "nothing connected";
  EXPECT_STREQ("out", out.getName());
  ASSERT_TRUE(out.connect(in));
  EXPECT_FALSE(out.connect(in)) << "already connected";
  EXPECT_TRUE(in.isEmpty());
  EXPECT_FALSE(in.isNew());
  received.data = -1;
  EXPECT_FALSE(in.read());
  EXPECT_EQ(-1, received.data);

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
  EXPECT_FALSE(in.read());
  EXPECT_EQ(5, received.data);
}

TEST(Ports, WriteCopiesAndLeavesTheTimestamp) {
  RTC::TimedLongSeq sent;
  RTC::TimedLongSeq first;
  RTC::TimedLongSeq second;
  RTC::OutPort<RTC::TimedLongSeq> out("out", sent);
  RTC::InPort<RTC::TimedLongSeq> inA("a", first);
  RTC::InPort<RTC::TimedLongSeq> inB("b", second);
  ASSERT_TRUE(out.connect(inA));
  ASSERT_TRUE(out.connect(inB));
  sent.tm.sec = 7;
  sent.tm.nsec = 8;
  sent.data.length(2);
  sent.data[0] = 10;
  sent.data[1] = 20;
  ASSERT_TRUE(out.write());
  sent.data[0] = 99;
  ASSERT_TRUE(inA.read());
  ASSERT_TRUE(inB.read());
  EXPECT_EQ(10, first.data[0]);
  EXPECT_EQ(20, second.data[1]);
  EXPECT_EQ(7u, first.tm.sec);
  EXPECT_EQ(8u, first.tm.nsec);

  setTimestamp(sent);
  EXPECT_GT(sent.tm.sec, 1500000000u);
  EXPECT_LT(sent.tm.nsec, 1000000000u);
}

TEST(Ports, ConnectionsEndWithEitherPort) {
  RTC::TimedLong sent;
  RTC::TimedLong received;
  RTC::RangeData range;
  RTC::OutPort<RTC::TimedLong> out("out", sent);
  RTC::InPort<RTC::RangeData> wrongType("range", range);
  EXPECT_FALSE(out.connect(wrongType));
  {
    RTC::InPort<RTC::TimedLong> in("in", received);
    ASSERT_TRUE(out.connect(in));
  }
  EXPECT_FALSE(out.write()) << "the in-port is gone";

  RTC::InPort<RTC::TimedLong> in("in", received);
  {
    RTC::OutPort<RTC::TimedLong> shortLived("out", sent);
    ASSERT_TRUE(shortLived.connect(in));
  }
  ASSERT_TRUE(out.connect(in));
  EXPECT_TRUE(out.write());
}

TEST(Sequences, IndexPastTheLengthThrowsBadParam) {
  RTC::RangeData range;
  range.ranges.length(2);
  range.ranges[1] = 1500.0;
  EXPECT_EQ(1500.0, range.ranges[1]);
  try {
    range.ranges[2] = 0.0;
    FAIL() << "no exception";
  } catch (const CORBA::BAD_PARAM& e) {
    EXPECT_EQ(omni::BAD_PARAM_IndexOutOfRange, e.minor());
  }
  const RTC::TimedLongSeq empty{};
  EXPECT_THROW(empty.data[0], CORBA::BAD_PARAM);
}

using PortConnections = ManagerTest;

TEST_F(PortConnections, ManagerConnectsByInstanceAndPortName) {
  start({"-o", "exec_cxt.periodic.type:ExtTrigExecutionContext"});
  auto* writer = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  auto* reader = static_cast<RecordingComponent*>(m_manager->createComponent("Recorder"));
  ASSERT_NE(nullptr, writer);
  ASSERT_NE(nullptr, reader);
  EXPECT_FALSE(m_manager->connectPorts("Recorder1.in", "Recorder0.out")) << "direction is checked";
  EXPECT_FALSE(m_manager->connectPorts("Recorder0.nothing", "Recorder1.in"));
  EXPECT_FALSE(m_manager->connectPorts("Nobody.out", "Recorder1.in"));
  EXPECT_FALSE(m_manager->connectPorts("Recorder0out", "Recorder1.in"));
  ASSERT_TRUE(m_manager->connectPorts("Recorder0.out", "Recorder1.in"));
  writer->m_out.data.length(1);
  writer->m_out.data[0] = 5;
  EXPECT_TRUE(writer->m_outPort.write());
  ASSERT_TRUE(reader->m_inPort.read());
  EXPECT_EQ(5, reader->m_in.data[0]);

  m_manager->deleteComponent("Recorder1");
  EXPECT_FALSE(writer->m_outPort.write()) << "deleting the reader ends the connection";
}
