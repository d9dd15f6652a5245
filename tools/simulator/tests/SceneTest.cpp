// The simulated scene: what each ray sees, and that a seed fixes everything.
// Its record of passes is checked against Strolvex's counts end to end.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/simulator/Scene.h"

namespace {

const double kPi = 3.141592653589793;

// Runs a scene at 10 Hz for the given number of cycles, keeping every scan.
std::vector<std::vector<double>> scansOf(const SceneSettings& settings, int cycles) {
  Scene scene(settings);
  std::vector<std::vector<double>> scans(cycles);
  for (int cycle = 0; cycle < cycles; ++cycle) {
    scene.advanceTo(cycle / 10.0);
    scene.render(scans[cycle]);
  }
  return scans;
}

}  // namespace

TEST(SceneGeometry, RaysHitSegmentsAndTheNearSideOfCircles) {
  const Vec2 ahead = {0.0, 1.0};
  EXPECT_DOUBLE_EQ(rayToSegment(ahead, {-100.0, 3000.0}, {100.0, 3000.0}), 3000.0);
  EXPECT_TRUE(std::isinf(rayToSegment(ahead, {100.0, 3000.0}, {300.0, 3000.0})));   // beside the ray
  EXPECT_TRUE(std::isinf(rayToSegment(ahead, {-100.0, -300.0}, {100.0, -300.0})));  // behind the sensor
  EXPECT_DOUBLE_EQ(rayToCircle(ahead, {0.0, 2000.0}, 200.0), 1800.0);
  EXPECT_TRUE(std::isinf(rayToCircle(ahead, {300.0, 2000.0}, 200.0)));
  EXPECT_TRUE(std::isinf(rayToCircle(ahead, {0.0, -2000.0}, 200.0)));
}

TEST(Scene, FirstScansShowTheRoomThenAPersonHidesItWithTheirNearSide) {
  SceneSettings settings;
  settings.noiseMm = 0.0;
  Scene scene(settings);
  std::vector<double> ranges;
  scene.advanceTo(0.9);
  EXPECT_TRUE(scene.crowd().present().empty());
  scene.render(ranges);
  ASSERT_EQ(ranges.size(), 769u);
  EXPECT_EQ(ranges[384], 3900.0);  // the front wall straight ahead
  EXPECT_EQ(ranges[640], 4600.0);  // the side walls at +-90 degrees
  EXPECT_EQ(ranges[128], 4600.0);
  EXPECT_EQ(ranges[0], std::round(400.0 / std::sin(kPi / 4.0)));  // the back wall at -135 degrees
  // The start ring in front of the sensor holds nothing static.
  for (int step = 256; step <= 512; ++step) ASSERT_GT(ranges[step], 3800.0) << "step " << step;

  scene.advanceTo(settings.crowd.quietStart);
  ASSERT_EQ(scene.crowd().present().size(), 1u);
  const Walker person = scene.crowd().present()[0];
  scene.advanceTo(person.crossTime);  // standing on the forward axis
  scene.render(ranges);
  const Vec2 centre = person.positionAt(person.crossTime);
  ASSERT_NEAR(centre.x, 0.0, 1e-6);
  EXPECT_EQ(ranges[384], std::round(centre.y - person.radius));
  // The steps whose rays pass within the radius show the person, the next
  // ones out the wall behind.
  const int covered = static_cast<int>(std::asin(person.radius / centre.y) / (2.0 * kPi / 1024.0));
  for (int offset = 0; offset <= covered; ++offset) {
    EXPECT_LT(ranges[384 + offset], centre.y) << "step " << 384 + offset;
    EXPECT_LT(ranges[384 - offset], centre.y) << "step " << 384 - offset;
  }
  EXPECT_GT(ranges[385 + covered], 3800.0);
  EXPECT_GT(ranges[383 - covered], 3800.0);
}

TEST(Scene, SeedFixesEveryScan) {
  SceneSettings settings;
  settings.crowd.seed = 7;
  const auto first = scansOf(settings, 200);
  EXPECT_EQ(first, scansOf(settings, 200));
  SceneSettings otherSeed = settings;
  otherSeed.crowd.seed = 8;
  EXPECT_NE(first, scansOf(otherSeed, 200));

}
