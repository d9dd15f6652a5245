// The simulated scene: what each ray sees.
// Its record of passes is checked against Strolvex's counts end to end.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/simulator/Scene.h"

TEST(SceneGeometry, RaysHitSegmentsAndTheNearSideOfCircles) {
  const Vec2 ahead = {0.0, 1.0};
  EXPECT_DOUBLE_EQ(3000.0, rayToSegment(ahead, {-100.0, 3000.0}, {100.0, 3000.0}));
  EXPECT_TRUE(std::isinf(rayToSegment(ahead, {100.0, 3000.0}, {300.0, 3000.0})));   // beside the ray
  EXPECT_TRUE(std::isinf(rayToSegment(ahead, {-100.0, -300.0}, {100.0, -300.0})));  // behind the sensor
  EXPECT_DOUBLE_EQ(1800.0, rayToCircle(ahead, {0.0, 2000.0}, 200.0));
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
  ASSERT_EQ(769u, ranges.size());
  // The front wall straight ahead, the side walls at +-90 degrees, the back
  // wall at -135 degrees; nothing static in the start ring.
  const double walls[][2] = {{384, 3900.0}, {640, 4600.0}, {128, 4600.0}, {0, std::round(400.0 * std::sqrt(2.0))}};
  for (const auto& wall : walls) EXPECT_EQ(wall[1], ranges[int(wall[0])]) << wall[0];
  for (int step = 256; step <= 512; ++step) ASSERT_GT(ranges[step], 3800.0) << "step " << step;

  scene.advanceTo(settings.crowd.quietStart);
  ASSERT_EQ(1u, scene.crowd().present().size());
  const Walker person = scene.crowd().present()[0];
  scene.advanceTo(person.crossTime);  // standing on the forward axis
  scene.render(ranges);
  const Vec2 centre = person.positionAt(person.crossTime);
  ASSERT_NEAR(0.0, centre.x, 1e-6);
  EXPECT_EQ(std::round(centre.y - person.radius), ranges[384]);
}

