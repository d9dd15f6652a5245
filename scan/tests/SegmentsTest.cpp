#include <cmath>

#include "scan/tests/ScanFixture.h"

namespace {

const double kPi = 3.141592653589793;

class ForegroundSegments : public ScanFixture {
 protected:
  ForegroundSegments() {
    for (int s = 44; s <= 725; ++s) work().range[s] = 3000.0;
  }

  void run(int first, int last, double range) {
    for (int s = first; s <= last; ++s) {
      work().foreground[s] = 1;
      work().range[s] = range;
    }
  }

  void expectSlot(int slot, int first, int last) {
    EXPECT_EQ(probe.m_segSteps[slot].first_step, first) << "slot " << slot;
    EXPECT_EQ(probe.m_segSteps[slot].last_step, last) << "slot " << slot;
  }

  void expectFlags(int first, int last, int flag) {
    for (int s = first; s <= last; ++s) EXPECT_EQ(work().foreground[s], flag) << "step " << s;
  }
};

TEST_F(ForegroundSegments, RunsWiderThanAPersonBecomeSegments) {
  run(380, 399, 2000.0);
  probe.extractSegments();
  expectSlot(1, 380, 399);
  EXPECT_NEAR(probe.m_segWidth[1], 233.0, 0.5);
  expectSlot(2, 0, 0);
  EXPECT_EQ(probe.m_openFirst[1], 0);
  EXPECT_EQ(probe.m_openLast[1], 0);
}

TEST_F(ForegroundSegments, NarrowRunsAreRejectedAndLoseTheirFlags) {
  run(400, 409, 3000.0);
  probe.extractSegments();
  expectSlot(1, 0, 0);
  expectFlags(400, 409, 0);

  run(400, 411, 3000.0);
  probe.extractSegments();
  expectSlot(1, 400, 411);
  expectFlags(400, 411, 1);
}

TEST_F(ForegroundSegments, ARunExactlyHumanWidthWideIsRejected) {
  // With theta 270 steps 383..385 share the bearing 0, so the width is the
  // difference of the two ranges, exactly.
  probe.m_LRFdata_theta = 270;
  run(383, 385, 1000.0);
  work().range[385] = 1200.0;
  probe.extractSegments();
  EXPECT_EQ(probe.m_segWidth[1], 200.0);
  expectSlot(1, 0, 0);
  expectFlags(383, 385, 0);

  run(383, 385, 1000.0);
  work().range[385] = 1201.0;
  probe.extractSegments();
  expectSlot(1, 383, 385);
}

TEST_F(ForegroundSegments, SlotsFillInStepOrderAndSurplusRunsKeepTheirFlags) {
  probe.m_Human_NUM = 2;
  run(100, 119, 3000.0);
  run(200, 204, 3000.0);  // narrow: uses up no slot
  run(300, 319, 3000.0);
  run(500, 519, 3000.0);
  probe.extractSegments();
  expectSlot(1, 100, 119);
  expectSlot(2, 300, 319);
  expectSlot(3, 0, 0);
  expectFlags(200, 204, 0);
  expectFlags(500, 519, 1);
}

TEST_F(ForegroundSegments, ARunOpenAtTheLastStepFormsNoSegment) {
  run(700, 725, 3000.0);
  probe.extractSegments();
  expectSlot(1, 0, 0);
  expectFlags(700, 725, 1);
}

TEST_F(ForegroundSegments, TenSlotsTakeTenRunsAndNothingSpillsOverTheTables) {
  probe.m_Human_NUM = 10;
  for (int r = 0; r < 11; ++r) run(100 + 20 * r, 111 + 20 * r, 3000.0);
  probe.extractSegments();
  for (int slot = 1; slot <= 10; ++slot) {
    expectSlot(slot, 100 + 20 * (slot - 1), 111 + 20 * (slot - 1));
  }
  expectFlags(300, 311, 1);
  // Entry 0 of each table is never used; an eleventh slot would land there.
  EXPECT_EQ(probe.m_openFirst[0], 0);
  EXPECT_EQ(probe.m_openLast[0], 0);
  expectSlot(0, 0, 0);
}

TEST_F(ForegroundSegments, StepAnglesFollowTheSensorGeometry) {
  work().range[640] = 1000.0;
  probe.stepToPoint(640);
  EXPECT_EQ(probe.m_pointAngle, kPi / 2);
  EXPECT_EQ(probe.m_pointX, 1000.0);
  EXPECT_NEAR(probe.m_pointY, 0.0, 1e-9);
  probe.stepToPoint(128);
  EXPECT_EQ(probe.m_pointAngle, -kPi / 2);

  probe.m_LRFdata_theta = 270;
  for (int step = 383; step <= 385; ++step) {
    probe.stepToPoint(step);
    EXPECT_EQ(probe.m_pointAngle, 0.0) << step;
  }
  probe.stepToPoint(386);
  EXPECT_EQ(probe.m_pointAngle, 2 * kPi / 1024);
}

}  // namespace
