#include "scan/StepGeometry.h"
#include "scan/tests/ScanFixture.h"

namespace {

class ForegroundSegments : public ScanFixture {
 protected:
  void run(int first, int last, double range) {
    for (int s = first; s <= last; ++s) {
      work().foreground[s] = 1;
      work().range[s] = range;
    }
  }
  void expectSlot(int slot, int first, int last) {
    EXPECT_EQ(probe->m_segSteps[slot].first_step, first) << "slot " << slot;
    EXPECT_EQ(probe->m_segSteps[slot].last_step, last) << "slot " << slot;
  }
  void expectFlags(int first, int last, int flag) {
    for (int s = first; s <= last; ++s) EXPECT_EQ(work().foreground[s], flag) << "step " << s;
  }
};

TEST_F(ForegroundSegments, RunsWiderThanAPersonBecomeSegmentsOnceClosed) {
  run(380, 399, 2000.0);
  run(700, 725, 3000.0);  // still open at the last step
  probe->extractSegments();
  expectSlot(1, 380, 399);
  EXPECT_NEAR(probe->m_segWidth[1], 233.0, 0.5);
  expectSlot(2, 0, 0);
  expectFlags(700, 725, 1);
  EXPECT_EQ(probe->m_openFirst[1] + probe->m_openLast[1], 0);
}

TEST_F(ForegroundSegments, NarrowRunsAreRejectedAndLoseTheirFlags) {
  run(400, 409, 3000.0);
  probe->extractSegments();
  expectSlot(1, 0, 0);
  expectFlags(400, 409, 0);

  run(400, 411, 3000.0);
  probe->extractSegments();
  expectSlot(1, 400, 411);
  expectFlags(400, 411, 1);
}

TEST_F(ForegroundSegments, ARunExactlyHumanWidthWideIsRejected) {
  // With theta 270 steps 383..385 share the bearing 0, so the width is the
  // difference of the two ranges, exactly.
  probe->m_LRFdata_theta = 270;
  run(383, 385, 1000.0);
  work().range[385] = 1200.0;
  probe->extractSegments();
  EXPECT_EQ(probe->m_segWidth[1], 200.0);
  expectSlot(1, 0, 0);
  expectFlags(383, 385, 0);

  run(383, 385, 1000.0);
  work().range[385] = 1201.0;
  probe->extractSegments();
  expectSlot(1, 383, 385);
}

TEST_F(ForegroundSegments, SlotsFillInStepOrderAndSurplusRunsKeepTheirFlags) {
  probe->m_Human_NUM = 2;
  run(100, 119, 3000.0);
  run(200, 204, 3000.0);  // narrow: uses up no slot
  run(300, 319, 3000.0);
  run(500, 519, 3000.0);
  probe->extractSegments();
  expectSlot(1, 100, 119);
  expectSlot(2, 300, 319);
  expectSlot(3, 0, 0);
  expectFlags(200, 204, 0);
  expectFlags(500, 519, 1);
}

TEST_F(ForegroundSegments, TenSlotsTakeTenRunsAndNothingSpillsOverTheTables) {
  probe->m_Human_NUM = 10;
  for (int r = 0; r < 11; ++r) run(100 + 20 * r, 111 + 20 * r, 3000.0);
  probe->extractSegments();
  for (int slot = 1; slot <= 10; ++slot) expectSlot(slot, 80 + 20 * slot, 91 + 20 * slot);
  expectFlags(300, 311, 1);
  // Entry 0 of each table is never used; an eleventh slot would land there.
  EXPECT_EQ(probe->m_openFirst[0] + probe->m_openLast[0], 0);
  expectSlot(0, 0, 0);
}

TEST_F(ForegroundSegments, StepsPointByTheSensorGeometry) {
  work().range[640] = 1000.0;
  probe->stepToPoint(640);
  EXPECT_EQ(probe->m_pointAngle, kPi / 2);
  EXPECT_EQ(probe->m_pointX, 1000.0);
  EXPECT_NEAR(probe->m_pointY, 0.0, 1e-9);
  probe->stepToPoint(128);
  EXPECT_EQ(probe->m_pointAngle, -kPi / 2);
  // The integer division comes first: with theta 270, 2 steps make 1.
  probe->m_LRFdata_theta = 270;
  probe->stepToPoint(386);
  EXPECT_EQ(probe->m_pointAngle, 2 * kPi / 1024);
}

}  // namespace
