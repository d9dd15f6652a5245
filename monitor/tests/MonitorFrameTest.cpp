#include <gtest/gtest.h>

#include <cmath>

#include "monitor/MonitorFrame.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

TEST(MonitorFrame, BeforeTheFirstScanShowsOnlyTheTwoAxes) {
  const MonitorFrame frame = composeMonitorFrame(*zeroSnapshot());
  const int axisPixels = 2 * 3 * kFrameSize - 9;  // 3 wide, crossing
  EXPECT_EQ(3 * kFrameSize, countPixels(frame, kWhitePixel, 249, 0, 3, kFrameSize));
  EXPECT_EQ(3 * kFrameSize, countPixels(frame, kWhitePixel, 0, 299, kFrameSize, 3));
  EXPECT_EQ(axisPixels, countPixels(frame, kWhitePixel));
  EXPECT_EQ(kFrameSize * kFrameSize - axisPixels, countPixels(frame, kBlackPixel));
}

// One pixel per step along the longer axis, from the origin up to but not
// including the truncated end point (for step 384 the pixel on the axis).
TEST(MonitorFrame, RaysOfSteps384And512And256EndWhereTheirStepsPoint) {
  struct Ray {
    int step, midX, midY, lastX, lastY, endX, endY, pixels;
  };
  for (const Ray& ray :
       {Ray{384, 250, 250, 250, 201, 250, 200, 100}, Ray{512, 285, 265, 319, 230, 320, 229, 71},
        Ray{256, 215, 265, 180, 230, 179, 229, 71}}) {
    std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
    scan->lrfdata_min = ray.step;  // that ray alone
    scan->lrfdata_max = ray.step + 1;
    const MonitorFrame frame = frameOf(*scan, 0, nullptr);
    EXPECT_EQ(kOutlinePixel, frame.pixel(250, 300)) << ray.step;
    EXPECT_EQ(kOutlinePixel, frame.pixel(ray.midX, ray.midY)) << ray.step;
    EXPECT_EQ(kOutlinePixel, frame.pixel(ray.lastX, ray.lastY)) << ray.step;
    EXPECT_NE(kOutlinePixel, frame.pixel(ray.endX, ray.endY)) << ray.step;
    EXPECT_EQ(ray.pixels, countPixels(frame, kOutlinePixel)) << ray.step;
  }
}

// Of the rays pointing behind the sensor on the right only step 725, which
// is lrfdata_max and so never drawn, is flagged.
TEST(MonitorFrame, ForegroundRaysAreGreenBackgroundRaysBlueAndStepMaxIsNotDrawn) {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  for (int t = 505; t < 520; ++t) scan->foreground[t] = 1;
  scan->foreground[725] = 1;
  const MonitorFrame frame = frameOf(*scan, 0, nullptr);
  EXPECT_EQ(kGreenPixel, frame.pixel(319, 230));
  EXPECT_EQ(kOutlinePixel, frame.pixel(180, 230));
  EXPECT_GT(countPixels(frame, kGreenPixel), 300);
  EXPECT_GT(countPixels(frame, kOutlinePixel, 300, 302, 200, 198), 50);
  EXPECT_EQ(0, countPixels(frame, kGreenPixel, 0, 302, kFrameSize, 198));
}

// An open polyline from the origin through every background point.
TEST(MonitorFrame, BackgroundOutlineJoinsTheBackgroundPoints) {
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  for (int t = 256; t <= 512; ++t) scan->background[t] = 1800.0;
  scan->lrfdata_min = 256;
  scan->lrfdata_max = 513;
  const MonitorFrame frame = frameOf(*scan, 0, nullptr);
  EXPECT_EQ(kOutlinePixel, frame.pixel(180, 230));  // first leg from the origin
  EXPECT_EQ(kOutlinePixel, frame.pixel(179, 229));  // corner at step 256
  EXPECT_EQ(kOutlinePixel, frame.pixel(250, 200));  // the arc straight ahead
  EXPECT_EQ(kBlackPixel, frame.pixel(320, 229));    // the open end
  EXPECT_EQ(kBlackPixel, frame.pixel(260, 250));    // nothing inside the arc
}

// Slots 1..3 counted: 1 has est_x 0 and particles (no circle), 2 has est_x
// -500 (circle at (222, 188)), 3 sits at the bound 4000 (no circle); slot 4's
// particle lies beyond the count.
TEST(MonitorFrame, ParticlesAreYellowAndCirclesMarkNonZeroEstimatesBelow4000) {
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[1].est_x[1] = 0.0;
  tracks[1].est_y[1] = 3600.0;
  for (int k = 0; k < 3; ++k) {
    tracks[1].particle_x[97 + k] = 900.0 + 18.0 * k;
    tracks[1].particle_y[97 + k] = 900.0;
  }
  tracks[2].est_x[1] = -500.0;
  tracks[2].est_y[1] = tracks[3].est_y[1] = 2000.0;
  tracks[3].est_x[1] = 4000.0;
  tracks[4].particle_x[0] = tracks[4].particle_y[0] = 1000.0;
  const MonitorFrame frame = frameOf(*defaultScan(0.0), 3, tracks.get());
  for (int k = 0; k < 3; ++k) EXPECT_EQ(kYellowPixel, frame.pixel(300 + k, 250));
  EXPECT_EQ(3, countPixels(frame, kYellowPixel));
  EXPECT_GT(countPixels(frame, kRedPixel), 4 * 100);
  EXPECT_EQ(countPixels(frame, kRedPixel),
            countPixels(frame, kRedPixel, 222 - 22, 188 - 22, 44, 44));
  EXPECT_EQ(kRedPixel, frame.pixel(222 - 20, 188));
  EXPECT_EQ(kWhitePixel, frame.pixel(222 + 10, 188 - 10));  // the white fill
}

// Far-off or undefined values, and a zero step count (every angle
// undefined), neither fault nor leave stray pixels.
TEST(MonitorFrame, FarOffAndUndefinedValuesAreClipped) {
  std::unique_ptr<ScanWork> scan = defaultScan(1e300);
  scan->range[400] = scan->background[500] = std::nan("");
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[1].est_x[1] = tracks[1].particle_y[0] = -1e300;
  tracks[1].est_y[1] = tracks[1].particle_x[0] = std::nan("");
  const MonitorFrame frame = frameOf(*scan, 1, tracks.get());
  EXPECT_EQ(0, countPixels(frame, kRedPixel) + countPixels(frame, kYellowPixel));
  EXPECT_GT(countPixels(frame, kOutlinePixel), 0);
  scan->lrf_total_steps = 0;
  frameOf(*scan, 1, tracks.get());
}

}  // namespace
