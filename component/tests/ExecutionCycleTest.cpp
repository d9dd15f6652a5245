#include <vector>

#include "component/tests/ComponentHarness.h"

namespace {

using ExecutionCycle = ComponentFixture;
using TrackingState = ProbeFixture;

TEST_F(ExecutionCycle, FirstScanPublishesSixFreeSlotsAndZeroCounts) {
  ports->sendScan(uniformScan(3000.0), 17, 250);
  tick();

  const PortProbe::Sample x = ports->takeX();
  const PortProbe::Sample y = ports->takeY();
  const PortProbe::Sample v = ports->takeV();
  const PortProbe::Sample t = ports->takeT();
  const PortProbe::Sample count = ports->takeCount();
  ASSERT_TRUE(x.arrived && y.arrived && v.arrived && t.arrived && count.arrived);
  EXPECT_EQ(x.data, std::vector<int32_t>(6, 100000));
  EXPECT_EQ(y.data, std::vector<int32_t>(6, 100000));
  EXPECT_EQ(v.data, std::vector<int32_t>(6, 0));
  EXPECT_EQ(t.data, std::vector<int32_t>(6, 0));
  EXPECT_EQ(count.data, (std::vector<int32_t>{0, 0, 0}));
  // Every output carries the time of the scan it came from.
  for (const PortProbe::Sample* s : {&x, &y, &v, &t, &count}) {
    EXPECT_EQ(s->tm.sec, 17u);
    EXPECT_EQ(s->tm.nsec, 250u);
  }
  EXPECT_FALSE(ports->anyOutput());
}

TEST_F(ExecutionCycle, ACycleWithoutANewScanWritesNothing) {
  tick();
  EXPECT_FALSE(ports->anyOutput());
  ports->sendScan(uniformScan(3000.0));
  tick();
  EXPECT_TRUE(ports->anyOutput());
  ports->drain();
  tick();
  EXPECT_FALSE(ports->anyOutput());
  EXPECT_EQ(state(), RTC::ACTIVE_STATE);
}

TEST_F(ExecutionCycle, ChangingHumanNumChangesTheSequenceLengths) {
  setParameter("Human_NUM", "3");
  ports->sendScan(uniformScan(3000.0));
  tick();
  EXPECT_EQ(ports->takeX().data.size(), 3u);
  EXPECT_EQ(ports->takeY().data.size(), 3u);
  EXPECT_EQ(ports->takeV().data.size(), 3u);
  EXPECT_EQ(ports->takeT().data.size(), 3u);
  EXPECT_EQ(ports->takeCount().data.size(), 3u);
}

TEST_F(TrackingState, ActivationStartsWithFreeSlotsAndEmptyBlocks) {
  StrolvexProbe& p = probe();
  ASSERT_TRUE(p.m_tracks != nullptr && p.m_trackScratch != nullptr && p.m_scanWork != nullptr);
  for (int i = 0; i < kSlotTableSize; ++i) {
    const TrackRecord& track = p.m_tracks[i];
    EXPECT_EQ(track.track_id, 1);
    for (int k = 0; k < 100; ++k) {
      ASSERT_EQ(track.est_x[k] + track.est_y[k] + track.est_range[k] + track.path_x[k] +
                    track.path_y[k] + track.particle_x[k] + track.particle_y[k],
                7 * kEmptyValue);
      ASSERT_EQ(track.particle_weight[k] + track.meas_x[k] + track.est_bearing[k], 0.0);
    }
    EXPECT_EQ(p.m_trackScratch[i].track_id, 0);
  }
  for (int s = 0; s < kScanSteps; ++s) ASSERT_EQ(p.m_scanWork->background[s], 0.0);
}

TEST_F(TrackingState, ReactivationForgetsTheBackgroundAndFreesTheBlocks) {
  ports->sendScan(uniformScan(3000.0));
  tick();
  ASSERT_EQ(probe().m_scanWork->background[300], 3000.0);
  probe().m_countIn = 5;

  ASSERT_EQ(deactivate(), RTC::RTC_OK);
  EXPECT_EQ(probe().m_scanWork, nullptr);
  EXPECT_EQ(probe().m_tracks, nullptr);
  EXPECT_EQ(probe().m_trackScratch, nullptr);
  ASSERT_EQ(activate(), RTC::RTC_OK);

  // Nearer than the old background: foreground only if it had survived.
  ports->sendScan(uniformScan(1500.0));
  tick();
  EXPECT_EQ(probe().m_scanWork->background[300], 1500.0);
  EXPECT_EQ(probe().m_scanWork->foreground[300], 0);
  EXPECT_EQ(ports->takeCount().data, (std::vector<int32_t>{0, 0, 0}));
}

TEST_F(TrackingState, FailedAllocationRefusesActivationAndLeavesNoBlocks) {
  for (int failing = 1; failing <= 3; ++failing) {
    SCOPED_TRACE(failing);
    ASSERT_EQ(deactivate(), RTC::RTC_OK);
    probe().allocationsSeen = 0;
    probe().failingAllocation = failing;
    activate();
    EXPECT_EQ(state(), RTC::ERROR_STATE);
    EXPECT_EQ(probe().m_scanWork, nullptr);
    EXPECT_EQ(probe().m_tracks, nullptr);
    EXPECT_EQ(probe().m_trackScratch, nullptr);

    // No cycle runs without the blocks, even when called directly.
    ports->sendScan(uniformScan(3000.0));
    tick();
    EXPECT_EQ(probe().onExecute(0), RTC::RTC_OK);
    EXPECT_FALSE(ports->anyOutput());

    // Recovers once memory can be had again.
    probe().failingAllocation = 0;
    ASSERT_EQ(component->get_context(0)->reset_component(component), RTC::RTC_OK);
    ASSERT_EQ(activate(), RTC::RTC_OK);
    ports->sendScan(uniformScan(3000.0));
    tick();
    EXPECT_TRUE(ports->takeCount().arrived);
    ports->drain();
  }
}

}  // namespace
