#include <cmath>
#include <vector>

#include "component/PublishedValue.h"
#include "component/tests/ComponentHarness.h"

namespace {

using ExecutionCycle = StrolvexTest;
using Ints = std::vector<int32_t>;

TEST_F(ExecutionCycle, ScansWaitingArePublishedOnePerCycleOldestFirstInHumanNumSlotsWithTheirTime) {
  for (unsigned sec = 1; sec <= 3; ++sec) {
    ports->scan.tm = {sec, 250};
    ports->sendScan(uniformScan(3000.0));
  }
  const Ints free(6, 100000), zero(6, 0);
  const Ints expected[] = {free, free, zero, zero, {0, 0, 0}};
  for (unsigned sec = 1; sec <= 3; ++sec) {
    tick();
    for (int output = PortProbe::kX; output <= PortProbe::kCount; ++output) {
      EXPECT_EQ(ports->take(output), expected[output]) << output;
      EXPECT_EQ(ports->received[output].tm.sec, sec);
      EXPECT_EQ(ports->received[output].tm.nsec, 250u);
    }
  }
  tick();
  EXPECT_FALSE(ports->drain()) << "a cycle without a new scan writes nothing";
}

TEST_F(ExecutionCycle, FailedAllocationRefusesActivationAndRunsNoCycle) {
  for (int failing = 1; failing <= 3; ++failing) {
    SCOPED_TRACE(failing);
    ports->sendScan(uniformScan(3000.0));
    tick();
    ports->drain();
    probe->m_countIn = 5;
    ASSERT_EQ(deactivate(), RTC::INACTIVE_STATE);
    probe->allocationsSeen = 0;
    probe->failingAllocation = failing;
    activate();
    tick();  // a failed activation leads to the error state at the next cycle
    EXPECT_EQ(state(), RTC::ERROR_STATE);
    EXPECT_EQ(probe->m_scanWork, nullptr);
    EXPECT_EQ(probe->m_tracks, nullptr);
    ports->sendScan(uniformScan(3000.0));
    tick();
    EXPECT_EQ(probe->onExecute(0), RTC::RTC_OK);  // even when called directly
    EXPECT_FALSE(ports->drain());

    // Recovers once memory can be had again, with a new background (nearer
    // than the old one: foreground had it survived) and no counts.
    probe->failingAllocation = 0;
    ASSERT_EQ(testrt::reset(probe), RTC::INACTIVE_STATE);
    ASSERT_EQ(activate(), RTC::ACTIVE_STATE);
    ports->sendScan(uniformScan(1500.0));
    tick();
    EXPECT_EQ(probe->m_scanWork->background[300], 1500.0);
    EXPECT_EQ(probe->m_scanWork->foreground[300], 0);
    EXPECT_EQ(ports->take(PortProbe::kCount), (Ints{0, 0, 0}));
    ports->drain();
  }
}

TEST_F(ExecutionCycle, PublishesTrackSlotKPlusOneAtIndexKTruncatedTowardZero) {
  TrackRecord& second = probe->m_tracks[2];
  second.est_x[1] = -12.7;
  second.est_y[1] = 2500.9;
  second.speed_hist[1] = 812.6;
  second.heading_hist[1] = -89.6;
  probe->m_countIn = 4;
  probe->m_countOut = 7;
  probe->m_countPresent = 1;
  probe->m_segSteps[2] = {300, 320};
  probe->m_openFirst[3] = 400;
  probe->publishResults();

  const int32_t e = 100000;
  EXPECT_EQ(ports->take(PortProbe::kX), (Ints{e, -12, e, e, e, e}));
  EXPECT_EQ(ports->take(PortProbe::kY), (Ints{e, 2500, e, e, e, e}));
  EXPECT_EQ(ports->take(PortProbe::kV), (Ints{0, 812, 0, 0, 0, 0}));
  EXPECT_EQ(ports->take(PortProbe::kT), (Ints{0, -89, 0, 0, 0, 0}));
  EXPECT_EQ(ports->take(PortProbe::kCount), (Ints{4, 7, 1}));

  // The next cycle starts with empty segment slots and no one present, while
  // the pass counts go on.
  EXPECT_EQ(probe->m_segSteps[2].first_step, 0);
  EXPECT_EQ(probe->m_segSteps[2].last_step, 0);
  EXPECT_EQ(probe->m_openFirst[3], 0);
  probe->publishResults();
  EXPECT_EQ(ports->take(PortProbe::kCount), (Ints{4, 7, 0}));

  // A diverging estimate must not reach the undefined double-to-int cast.
  EXPECT_EQ(toPublishedInteger(std::nan("")), 0);
  EXPECT_EQ(toPublishedInteger(2147483648.0), 2147483647);
  EXPECT_EQ(toPublishedInteger(-1e300), -2147483647 - 1);
}

}  // namespace
