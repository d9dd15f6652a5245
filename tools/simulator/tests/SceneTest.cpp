// The simulated scene: what each ray sees, that a seed fixes everything,
// and that the scene's own record of passes matches how people walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/simulator/Scene.h"

namespace {

const double kPi = 3.141592653589793;

SceneSettings quietSettings() {
  SceneSettings settings;
  settings.noiseMm = 0.0;
  return settings;
}

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

TEST(Scene, FirstScansShowTheRoomAlone) {
  SceneSettings settings = quietSettings();
  Scene scene(settings);
  std::vector<double> ranges;
  for (int cycle = 0; cycle < 10; ++cycle) {
    scene.advanceTo(cycle / 10.0);
    EXPECT_TRUE(scene.crowd().present().empty()) << "cycle " << cycle;
  }
  scene.render(ranges);
  ASSERT_EQ(ranges.size(), 769u);
  EXPECT_EQ(ranges[384], 3900.0);  // the front wall straight ahead
  EXPECT_EQ(ranges[640], 4600.0);  // the right wall at +90 degrees
  EXPECT_EQ(ranges[128], 4600.0);  // the left wall at -90 degrees
  EXPECT_EQ(ranges[0], std::round(400.0 / std::sin(kPi / 4.0)));  // the back wall at -135 degrees
  // The start ring in front of the sensor holds nothing static.
  for (int step = 256; step <= 512; ++step) EXPECT_GT(ranges[step], 3800.0) << "step " << step;
}

TEST(Scene, PersonOccludesTheStepsItCoversAtItsNearSide) {
  SceneSettings settings = quietSettings();
  Scene scene(settings);
  scene.advanceTo(settings.crowd.quietStart);
  ASSERT_EQ(scene.crowd().present().size(), 1u);
  const Walker person = scene.crowd().present()[0];
  // At its crossing time the person stands on the forward axis.
  scene.advanceTo(person.crossTime);
  std::vector<double> ranges;
  scene.render(ranges);
  const Vec2 centre = person.positionAt(person.crossTime);
  ASSERT_NEAR(centre.x, 0.0, 1e-6);
  EXPECT_EQ(ranges[384], std::round(centre.y - person.radius));
  // The steps whose rays pass within the radius show the person, the next
  // ones out the wall behind.
  const double halfWidth = std::asin(person.radius / centre.y);
  const int covered = static_cast<int>(halfWidth / (2.0 * kPi / 1024.0));
  for (int offset = 0; offset <= covered; ++offset) {
    EXPECT_LT(ranges[384 + offset], centre.y) << "step " << 384 + offset;
    EXPECT_LT(ranges[384 - offset], centre.y) << "step " << 384 - offset;
  }
  EXPECT_GT(ranges[384 + covered + 1], 3800.0);
  EXPECT_GT(ranges[384 - covered - 1], 3800.0);
}

TEST(Scene, SeedFixesEveryScanAndNoiseLeavesTheCrowdAlone) {
  SceneSettings settings;
  settings.crowd.seed = 7;
  const auto first = scansOf(settings, 200);
  EXPECT_EQ(first, scansOf(settings, 200));

  SceneSettings otherSeed = settings;
  otherSeed.crowd.seed = 8;
  EXPECT_NE(first, scansOf(otherSeed, 200));

  // Without noise the same people stand in the same places: each reading
  // differs from the noisy one by at most the noise (plus rounding).
  SceneSettings noiseless = settings;
  noiseless.noiseMm = 0.0;
  const auto clean = scansOf(noiseless, 200);
  int differing = 0;
  for (std::size_t cycle = 0; cycle < clean.size(); ++cycle)
    for (std::size_t step = 0; step < clean[cycle].size(); ++step) {
      ASSERT_LE(std::fabs(first[cycle][step] - clean[cycle][step]), settings.noiseMm + 1.0);
      differing += first[cycle][step] != clean[cycle][step];
    }
  EXPECT_GT(differing, 0);
}

TEST(Scene, RecordsEachPassOnceWithItsDirection) {
  SceneSettings settings = quietSettings();
  settings.crowd.seed = 3;
  settings.crowd.lastCrossing = 58.0;
  Scene scene(settings);
  std::vector<Walker> seen;
  std::vector<Crossing> passes;
  for (int cycle = 0; cycle <= 600; ++cycle) {
    const double t = cycle / 10.0;
    for (const Crossing& crossing : scene.advanceTo(t)) {
      EXPECT_GT(crossing.time, t - 0.1);
      EXPECT_LE(crossing.time, t);
      passes.push_back(crossing);
    }
    for (const Walker& walker : scene.crowd().present()) {
      EXPECT_GE(walker.spawnTime, settings.crowd.quietStart);
      if (seen.empty() || seen.back().id < walker.id) seen.push_back(walker);
    }
  }
  // Everyone who arrived passed exactly once, in the direction their path
  // takes them from one side of the axis to the other.
  ASSERT_EQ(passes.size(), seen.size());
  int in = 0;
  for (std::size_t k = 0; k < passes.size(); ++k) {
    const Walker* walker = nullptr;
    for (const Walker& candidate : seen)
      if (candidate.id == passes[k].person) walker = &candidate;
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(passes[k].goesIn, walker->goesIn);
    const double before = walker->positionAt(walker->crossTime - 0.5).x;
    const double after = walker->positionAt(walker->crossTime + 0.5).x;
    EXPECT_EQ(before < 0.0 && after > 0.0, passes[k].goesIn);
    EXPECT_EQ(before > 0.0 && after < 0.0, !passes[k].goesIn);
    EXPECT_LE(passes[k].time, settings.crowd.lastCrossing);
    if (k > 0) {
      EXPECT_GE(passes[k].time - passes[k - 1].time, 1.2 - 1e-9);
    }
    in += passes[k].goesIn;
  }
  EXPECT_EQ(scene.crossedIn(), in);
  EXPECT_EQ(scene.crossedOut(), static_cast<int>(passes.size()) - in);
  EXPECT_GE(passes.size(), 12u);
  EXPECT_LE(passes.size(), 25u);
  EXPECT_GT(in, 0);
  EXPECT_GT(scene.crossedOut(), 0);
}

TEST(Scene, KeepsPeopleApartSoThatEveryPassCanBeCounted) {
  SceneSettings settings = quietSettings();
  settings.crowd.seed = 11;
  settings.crowd.peoplePerMinute = 60.0;  // more than fit: the rules decide
  Scene scene(settings);
  std::vector<Walker> seen;
  for (int cycle = 0; cycle <= 1200; ++cycle) {
    scene.advanceTo(cycle / 10.0);
    for (const Walker& walker : scene.crowd().present())
      if (seen.empty() || seen.back().id < walker.id) seen.push_back(walker);
  }
  ASSERT_GT(seen.size(), 20u);
  bool sameWayTogether = false;
  for (std::size_t a = 0; a < seen.size(); ++a)
    for (std::size_t b = a + 1; b < seen.size(); ++b) {
      const Walker& first = seen[a];
      const Walker& second = seen[b];
      const double from = std::max(first.enterView, second.enterView);
      const double to = std::min(first.leaveView, second.leaveView);
      if (first.goesIn != second.goesIn) {
        // Head-on meetings never happen in view.
        EXPECT_LE(to, from) << first.id << " and " << second.id;
        continue;
      }
      for (double t = from; t <= to; t += 0.1) {
        const Vec2 p = first.positionAt(t);
        const Vec2 q = second.positionAt(t);
        EXPECT_GE(std::hypot(p.x - q.x, p.y - q.y), 1500.0 - 1.0) << first.id << " and " << second.id;
        sameWayTogether = true;
      }
    }
  EXPECT_TRUE(sameWayTogether);  // the rules still let groups walk together
}
