#include <gtest/gtest.h>

#include <cmath>

#include "monitor/tests/FrameTestSupport.h"

namespace {

// Axes three pixels wide through the origin (250, 300). A ray has one pixel
// per step along its longer axis, from the origin up to but not including
// its truncated end point (for step 384 the pixel on the axis).
TEST(MonitorFrame, AxesAndRaysThatEndWhereTheirStepsPoint) {
  const MonitorFrame axes = frameOf(nullptr);
  EXPECT_EQ(3 * kFrameSize, countPixels(axes, kWhitePixel, 249, 0, 3, kFrameSize));
  EXPECT_EQ(3 * kFrameSize, countPixels(axes, kWhitePixel, 0, 299, kFrameSize, 3));
  EXPECT_EQ(2 * 3 * kFrameSize - 9, countPixels(axes, kWhitePixel));
  struct Ray { int step, lastX, lastY, endX, endY, pixels; };
  for (const Ray& ray : {Ray{384, 250, 201, 250, 200, 100}, Ray{512, 319, 230, 320, 229, 71},
                         Ray{256, 180, 230, 179, 229, 71}}) {
    std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
    scan->lrfdata_min = ray.step;  // that ray alone
    scan->lrfdata_max = ray.step + 1;
    const MonitorFrame frame = frameOf(scan.get());
    EXPECT_EQ(kOutlinePixel, frame.pixel(ray.lastX, ray.lastY)) << ray.step;
    EXPECT_NE(kOutlinePixel, frame.pixel(ray.endX, ray.endY)) << ray.step;
    EXPECT_EQ(ray.pixels, countPixels(frame, kOutlinePixel)) << ray.step;
  }
}

// Foreground rays are green, the others blue; of the rays behind the sensor
// on the right only step 725, lrfdata_max and so never drawn, is flagged.
// The background outline is an open polyline from the origin.
TEST(MonitorFrame, ForegroundRaysAndTheBackgroundOutline) {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  for (int t = 505; t < 520; ++t) scan->foreground[t] = 1;
  scan->foreground[725] = 1;
  const MonitorFrame rays = frameOf(scan.get());
  EXPECT_EQ(kGreenPixel, rays.pixel(319, 230));
  EXPECT_EQ(kOutlinePixel, rays.pixel(180, 230));
  EXPECT_EQ(0, countPixels(rays, kGreenPixel, 0, 302, kFrameSize, 198));

  scan = defaultScan(0.0);
  for (int t = 256; t <= 512; ++t) scan->background[t] = 1800.0;
  scan->lrfdata_min = 256;
  scan->lrfdata_max = 513;
  const MonitorFrame outline = frameOf(scan.get());
  EXPECT_EQ(kOutlinePixel, outline.pixel(180, 230));  // first leg from the origin
  EXPECT_EQ(kOutlinePixel, outline.pixel(250, 200));  // the arc straight ahead
  EXPECT_EQ(kBlackPixel, outline.pixel(320, 229));    // the open end
}

// Slots 1..3 counted: 1 has est_x 0 and particles (no circle), 2 has est_x
// -500 (circle at (222, 188)), 3 sits at the bound 4000 (no circle); slot 4's
// particle lies beyond the count.
TEST(MonitorFrame, ParticlesAreYellowAndCirclesMarkNonZeroEstimatesBelow4000) {
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[1].est_x[1] = 0.0;
  tracks[1].est_y[1] = 3600.0;
  for (int k = 0; k < 3; ++k) tracks[1].particle_x[97 + k] = 900.0 + 18.0 * k;
  for (int k = 0; k < 3; ++k) tracks[1].particle_y[97 + k] = 900.0;
  tracks[2].est_x[1] = -500.0;
  tracks[2].est_y[1] = tracks[3].est_y[1] = 2000.0;
  tracks[3].est_x[1] = 4000.0;
  tracks[4].particle_x[0] = tracks[4].particle_y[0] = 1000.0;
  const MonitorFrame frame = frameOf(defaultScan(0.0).get(), 3, tracks.get());
  EXPECT_EQ(kYellowPixel, frame.pixel(302, 250));
  EXPECT_EQ(3, countPixels(frame, kYellowPixel));
  EXPECT_GT(countPixels(frame, kRedPixel), 4 * 100);
  EXPECT_EQ(countPixels(frame, kRedPixel), countPixels(frame, kRedPixel, 222 - 22, 188 - 22, 44, 44));
  EXPECT_EQ(kWhitePixel, frame.pixel(222 + 10, 188 - 10));  // the white fill
  // The label "02": black text on a cell 8 pixels up and left of the centre.
  EXPECT_GT(countPixels(frame, kBlackPixel, 222 - 8, 188 - 8, 16, 16), 10);
}

// Far-off or undefined values, and a zero step count (every angle
// undefined), neither fault nor leave stray pixels.
TEST(MonitorFrame, FarOffAndUndefinedValuesAreClipped) {
  std::unique_ptr<ScanWork> scan = defaultScan(1e300);
  scan->range[400] = scan->background[500] = std::nan("");
  scan->lrf_total_steps = 0;
  frameOf(scan.get());
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[1].est_x[1] = tracks[1].particle_y[0] = -1e300;
  tracks[1].est_y[1] = tracks[1].particle_x[0] = std::nan("");
  const MonitorFrame frame = frameOf(defaultScan(1e300).get(), 1, tracks.get());
  EXPECT_EQ(0, countPixels(frame, kRedPixel) + countPixels(frame, kYellowPixel));
}

}  // namespace
