#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "monitor/MonitorFrame.h"
#include "monitor/tests/FrameTestSupport.h"

namespace {

const int kAxisPixels = 2 * 3 * kFrameSize - 9;  // two 3-wide axes, crossing

// A frame of one scan drawn over the given step range only.
MonitorFrame frameOfSteps(ScanWork& scan, int first, int end) {
  scan.lrfdata_min = first;
  scan.lrfdata_max = end;
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  takeScanSnapshot(*snapshot, scan, 0);
  return composeMonitorFrame(*snapshot);
}

TEST(MonitorFrame, BeforeTheFirstScanShowsOnlyTheAxes) {
  const MonitorFrame frame = composeMonitorFrame(*zeroSnapshot());
  for (int along = 0; along < kFrameSize; along += 83) {
    EXPECT_EQ(kWhitePixel, frame.pixel(249, along)) << along;
    EXPECT_EQ(kWhitePixel, frame.pixel(251, along)) << along;
    EXPECT_EQ(kWhitePixel, frame.pixel(along, 299)) << along;
    EXPECT_EQ(kWhitePixel, frame.pixel(along, 301)) << along;
  }
  EXPECT_EQ(kWhitePixel, frame.pixel(250, 499));
  EXPECT_EQ(kWhitePixel, frame.pixel(499, 300));
  EXPECT_EQ(kBlackPixel, frame.pixel(248, 10));
  EXPECT_EQ(kBlackPixel, frame.pixel(10, 297));
  EXPECT_EQ(kBlackPixel, frame.pixel(400, 100));
  EXPECT_EQ(kAxisPixels, countPixels(frame, kWhitePixel));
  EXPECT_EQ(kFrameSize * kFrameSize - kAxisPixels,
            countPixels(frame, kBlackPixel));
}

// Rays run from the origin up to but not including the truncated end point,
// one pixel per step along the longer axis.
TEST(MonitorFrame, RaysEndAtTheTruncatedPointOfTheirStep) {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);

  const MonitorFrame ahead = frameOfSteps(*scan, 384, 385);
  EXPECT_EQ(kOutlinePixel, ahead.pixel(250, 300));  // starts at the origin
  EXPECT_EQ(kOutlinePixel, ahead.pixel(250, 201));
  EXPECT_EQ(kWhitePixel, ahead.pixel(250, 200));  // the axis: end not drawn
  EXPECT_EQ(kWhitePixel, ahead.pixel(249, 250));

  const MonitorFrame right = frameOfSteps(*scan, 512, 513);
  EXPECT_EQ(kOutlinePixel, right.pixel(319, 230));
  EXPECT_EQ(kBlackPixel, right.pixel(320, 229));
  EXPECT_EQ(71, countPixels(right, kOutlinePixel));

  const MonitorFrame left = frameOfSteps(*scan, 256, 257);
  EXPECT_EQ(kOutlinePixel, left.pixel(180, 230));
  EXPECT_EQ(kBlackPixel, left.pixel(179, 229));
  EXPECT_EQ(71, countPixels(left, kOutlinePixel));
}

TEST(MonitorFrame, TheStepAtTheUpperLimitIsNeverDrawn) {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  EXPECT_EQ(0, countPixels(frameOfSteps(*scan, 512, 512), kOutlinePixel));

  // Every entry present, the step at the limit included and flagged.
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  snapshot->scan = *defaultScan(1800.0);
  snapshot->scan.foreground[725] = 1;
  EXPECT_EQ(0, countPixels(composeMonitorFrame(*snapshot), kGreenPixel));
  snapshot->scan.lrfdata_max = 726;
  EXPECT_GT(countPixels(composeMonitorFrame(*snapshot), kGreenPixel), 50);
}

TEST(MonitorFrame, ForegroundRaysAreGreenAndBackgroundRaysBlue) {
  std::unique_ptr<ScanWork> scan = defaultScan(1800.0);
  for (int t = 505; t < 520; ++t) scan->foreground[t] = 1;
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  takeScanSnapshot(*snapshot, *scan, 0);
  const MonitorFrame frame = composeMonitorFrame(*snapshot);
  EXPECT_EQ(kGreenPixel, frame.pixel(319, 230));
  EXPECT_EQ(kOutlinePixel, frame.pixel(180, 230));
  EXPECT_EQ(kOutlinePixel, frame.pixel(250, 201));
  EXPECT_GT(countPixels(frame, kGreenPixel), 300);
}

// The outline is an open polyline from the origin through every background
// point; each corner is drawn, the last point is not.
TEST(MonitorFrame, BackgroundOutlineJoinsTheBackgroundPoints) {
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  for (int t = 256; t <= 512; ++t) scan->background[t] = 1800.0;
  const MonitorFrame frame = frameOfSteps(*scan, 256, 513);
  EXPECT_EQ(kOutlinePixel, frame.pixel(180, 230));  // first leg from the origin
  EXPECT_EQ(kOutlinePixel, frame.pixel(179, 229));  // corner at step 256
  EXPECT_EQ(kOutlinePixel, frame.pixel(250, 200));  // the arc straight ahead
  EXPECT_EQ(kOutlinePixel, frame.pixel(320, 228));  // corner at step 511
  EXPECT_EQ(kBlackPixel, frame.pixel(320, 229));    // the open end
  EXPECT_EQ(kBlackPixel, frame.pixel(260, 250));    // nothing inside the arc
}

TEST(MonitorFrame, ParticlesAreYellowPixelsAndCirclesMarkEstimates) {
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  takeScanSnapshot(*snapshot, *scan, 4);
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  // Slot 1: estimate at 0 lateral (no circle), particles on a short row.
  tracks[1].est_x[1] = 0.0;
  tracks[1].est_y[1] = 3600.0;
  for (int k = 0; k < 10; ++k) {
    tracks[1].particle_x[k] = 900.0 + 18.0 * k;
    tracks[1].particle_y[k] = 900.0;
  }
  // Slot 2: estimate left of the axis: a circle centred at (222, 188).
  tracks[2].est_x[1] = -500.0;
  tracks[2].est_y[1] = 2000.0;
  // Slot 3: the upper bound itself gets no circle.
  tracks[3].est_x[1] = 4000.0;
  tracks[3].est_y[1] = 2000.0;
  takeTrackSnapshot(*snapshot, tracks.get());
  MonitorFrame frame = composeMonitorFrame(*snapshot);

  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(kYellowPixel, frame.pixel(300 + k, 250)) << k;
  }
  EXPECT_EQ(10, countPixels(frame, kYellowPixel));
  EXPECT_EQ(countPixels(frame, kRedPixel),
            countPixelsIn(frame, kRedPixel, 222 - 22, 188 - 22, 44, 44));
  EXPECT_GT(countPixels(frame, kRedPixel), 4 * 100);
  EXPECT_EQ(kRedPixel, frame.pixel(222 + 20, 188));
  EXPECT_EQ(kRedPixel, frame.pixel(222 - 20, 188));
  EXPECT_EQ(kWhitePixel, frame.pixel(222 + 10, 188 - 10));  // the white fill

  // Just below the bound, slot 3 gets its circle too.
  tracks[3].est_x[1] = 3999.0;
  takeTrackSnapshot(*snapshot, tracks.get());
  frame = composeMonitorFrame(*snapshot);
  EXPECT_EQ(kRedPixel, frame.pixel(472 + 20, 188));
}

TEST(MonitorFrame, OnlySlotsUpToTheTrackCountAreDrawn) {
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  takeScanSnapshot(*snapshot, *scan, 3);
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  for (int i = 1; i <= 4; ++i) {
    tracks[i].particle_x[0] = 100.0 * i;
    tracks[i].particle_y[0] = 1000.0;
  }
  takeTrackSnapshot(*snapshot, tracks.get());
  EXPECT_EQ(3, countPixels(composeMonitorFrame(*snapshot), kYellowPixel));
}

// Every slot label sits on a white cell with black text whose top-left
// corner is 8 pixels up and left of the circle's centre.
TEST(MonitorFrame, TenSlotsGetTheLabelsOneToTen) {
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  std::unique_ptr<ScanWork> scan = defaultScan(0.0);
  takeScanSnapshot(*snapshot, *scan, 10);
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  for (int i = 1; i <= 10; ++i) {
    tracks[i].est_x[1] = -3600.0 + 650.0 * i;  // centres 45 pixels apart
    tracks[i].est_y[1] = 1800.0;               // row 200
  }
  takeTrackSnapshot(*snapshot, tracks.get());
  const MonitorFrame frame = composeMonitorFrame(*snapshot);

  int textPixelsOfSlot[11] = {};
  for (int i = 1; i <= 10; ++i) {
    const int cx = static_cast<int>(250.0 + (-3600.0 + 650.0 * i) / 18.0);
    EXPECT_EQ(kWhitePixel, frame.pixel(cx - 8, 192)) << i;
    textPixelsOfSlot[i] = countPixelsIn(frame, kBlackPixel, cx - 8, 192, 16, 16);
    EXPECT_GT(textPixelsOfSlot[i], 10) << i;
    EXPECT_EQ(0, countPixelsIn(frame, kBlackPixel, cx - 14, 186, 28, 4)) << i;
  }
  // "01" and "10" are the same glyphs in a different order.
  EXPECT_EQ(textPixelsOfSlot[1], textPixelsOfSlot[10]);
  EXPECT_NE(textPixelsOfSlot[1], textPixelsOfSlot[8]);
}

// Values far outside the frame, or not numbers at all, must neither crash
// nor leave stray pixels.
TEST(MonitorFrame, ValuesFarOutsideTheFrameAreClipped) {
  const double huge = 1e300;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::unique_ptr<MonitorSnapshot> snapshot = zeroSnapshot();
  std::unique_ptr<ScanWork> scan = defaultScan(huge);
  scan->range[400] = nan;
  scan->background[500] = -huge;
  scan->lrfdata_min = -50;      // the drawn steps stay inside the arrays
  scan->lrfdata_max = 5000;
  takeScanSnapshot(*snapshot, *scan, 2);
  std::unique_ptr<TrackRecord[]> tracks = freeTracks();
  tracks[1].est_x[1] = -huge;
  tracks[1].est_y[1] = nan;
  tracks[2].particle_x[0] = nan;
  tracks[2].particle_y[0] = huge;
  takeTrackSnapshot(*snapshot, tracks.get());
  const MonitorFrame frame = composeMonitorFrame(*snapshot);
  EXPECT_EQ(0, countPixels(frame, kRedPixel));
  EXPECT_EQ(0, countPixels(frame, kYellowPixel));
  EXPECT_GT(countPixels(frame, kOutlinePixel), 0);

  // A zero step count makes every angle undefined; still no fault.
  scan->lrf_total_steps = 0;
  takeScanSnapshot(*snapshot, *scan, 2);
  composeMonitorFrame(*snapshot);
}

}  // namespace
