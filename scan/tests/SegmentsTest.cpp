#include <algorithm>

#include "scan/tests/ScanFixture.h"

namespace {

class ForegroundSegments : public ScanFixture {
 protected:
  void run(int first, int last, double range) {
    std::fill(work().foreground + first, work().foreground + last + 1, 1);
    std::fill(work().range + first, work().range + last + 1, range);
  }
  void expectSlot(int slot, int first, int last) {
    EXPECT_EQ(probe->m_segSteps[slot].first_step, first) << "slot " << slot;
    EXPECT_EQ(probe->m_segSteps[slot].last_step, last) << "slot " << slot;
  }
  void expectFlags(int first, int last, int flag) {
    for (int s = first; s <= last; ++s) EXPECT_EQ(work().foreground[s], flag) << "step " << s;
  }
};

TEST_F(ForegroundSegments, OnlyClosedRunsWiderThanAPersonBecomeSegments) {
  // With theta 270 steps 383..385 share the bearing 0: the width is the
  // difference of the ranges, exactly 200 mm (a person's width) or just over.
  struct Run { int theta, first, last; double range, farEnd; bool kept; };
  for (const Run& r : {Run{360, 400, 409, 3000, 3000, false}, Run{360, 400, 411, 3000, 3000, true},
                       Run{270, 383, 385, 1000, 1200, false}, Run{270, 383, 385, 1000, 1201, true}}) {
    std::fill(work().foreground, work().foreground + kScanSteps, 0);
    probe->m_LRFdata_theta = r.theta;
    run(r.first, r.last, r.range);
    work().range[r.last] = r.farEnd;
    run(700, 725, 3000.0);  // still open at the last step
    probe->extractSegments();
    expectSlot(1, r.kept ? r.first : 0, r.kept ? r.last : 0);
    expectFlags(r.first, r.last, r.kept ? 1 : 0);
    expectSlot(2, 0, 0);
    expectFlags(700, 725, 1);
  }
}

TEST_F(ForegroundSegments, SlotsFillInStepOrderAndSurplusRunsKeepTheirFlags) {
  // Ten slots take ten runs; an eleventh would land in the unused entry 0.
  probe->m_Human_NUM = 10;
  for (int r = 0; r < 11; ++r) run(100 + 20 * r, 111 + 20 * r, 3000.0);
  run(113, 116, 3000.0);  // narrow: uses up no slot
  probe->extractSegments();
  for (int slot = 1; slot <= 10; ++slot) expectSlot(slot, 80 + 20 * slot, 91 + 20 * slot);
  expectFlags(113, 116, 0);
  expectFlags(300, 311, 1);
  EXPECT_EQ(probe->m_openFirst[0] + probe->m_openLast[0], 0);
  expectSlot(0, 0, 0);
}

}  // namespace
