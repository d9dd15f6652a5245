#include <cmath>
#include <limits>
#include <vector>

#include "component/PublishedValue.h"
#include "component/tests/ComponentHarness.h"

namespace {

TEST(PublishedInteger, TruncatesTowardZeroAndStaysDefinedOutsideInt32) {
  EXPECT_EQ(toPublishedInteger(812.6), 812);
  EXPECT_EQ(toPublishedInteger(-89.6), -89);
  EXPECT_EQ(toPublishedInteger(-12.7), -12);
  EXPECT_EQ(toPublishedInteger(100000.0), 100000);
  EXPECT_EQ(toPublishedInteger(std::nan("")), 0);
  EXPECT_EQ(toPublishedInteger(2147483647.9), 2147483647);
  EXPECT_EQ(toPublishedInteger(2147483648.0), 2147483647);
  EXPECT_EQ(toPublishedInteger(std::numeric_limits<double>::infinity()), 2147483647);
  EXPECT_EQ(toPublishedInteger(-2147483648.9), -2147483647 - 1);
  EXPECT_EQ(toPublishedInteger(-1e300), -2147483647 - 1);
}

using Publication = ProbeFixture;

TEST_F(Publication, SlotKOfEveryPortDescribesTrackSlotKPlusOne) {
  StrolvexProbe& p = probe();
  TrackRecord& second = p.m_tracks[2];
  second.est_x[1] = -12.7;
  second.est_y[1] = 2500.9;
  second.speed_hist[1] = 812.6;
  second.heading_hist[1] = -89.6;
  p.m_countIn = 4;
  p.m_countOut = 7;
  p.m_countPresent = 1;
  p.m_segSteps[2].first_step = 300;
  p.m_segSteps[2].last_step = 320;
  p.m_openFirst[3] = 400;
  p.publishResults();

  EXPECT_EQ(ports->takeX().data, (std::vector<int32_t>{100000, -12, 100000, 100000, 100000, 100000}));
  EXPECT_EQ(ports->takeY().data, (std::vector<int32_t>{100000, 2500, 100000, 100000, 100000, 100000}));
  EXPECT_EQ(ports->takeV().data, (std::vector<int32_t>{0, 812, 0, 0, 0, 0}));
  EXPECT_EQ(ports->takeT().data, (std::vector<int32_t>{0, -89, 0, 0, 0, 0}));
  EXPECT_EQ(ports->takeCount().data, (std::vector<int32_t>{4, 7, 1}));

  // The next cycle starts with empty segment slots and no one present, while
  // the pass counts go on.
  EXPECT_EQ(p.m_countPresent, 0);
  EXPECT_EQ(p.m_countIn, 4);
  EXPECT_EQ(p.m_segSteps[2].first_step, 0);
  EXPECT_EQ(p.m_segSteps[2].last_step, 0);
  EXPECT_EQ(p.m_openFirst[3], 0);
  p.publishResults();
  EXPECT_EQ(ports->takeCount().data, (std::vector<int32_t>{4, 7, 0}));
}

}  // namespace
