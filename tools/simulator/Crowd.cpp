#include "tools/simulator/Crowd.h"

#include <algorithm>
#include <cmath>

namespace {

// Paths run between the side walls, beyond the 4 m tracking range at both
// ends, so people come into view and leave it as they would in a hall.
const double kPathHalfLength = 4300.0;
// Where a path meets the axis: near enough for the person's front (the
// centre less 200-250 mm) to lie well inside 2000-2500 mm, where a pass is
// counted, after entering the 2800-4000 mm ring on the far side.
const double kCrossingYMin = 2350.0;
const double kCrossingYMax = 2550.0;
// Paths tilt toward or away from the sensor by up to these amounts at the
// ends, so some people approach diagonally.
const double kTiltMin = -300.0;
const double kTiltMax = 400.0;

// The tracker sees a person whose front is nearer than 0.9 of the 4 m
// background; a little more is allowed so the windows below err on the
// safe side.
const double kViewRange = 3700.0;

// The crowd is a busy but fair test: it avoids the situations in which no
// tracker of this kind could count right.
// - Two people at the axis together hide each other (s apart).
const double kCrossingGap = 1.2;
// - A track whose person has left lives on for about a second and takes
//   over anyone who appears meanwhile; nobody appears from shortly before
//   to this long after someone leaves (s).
const double kLeaveLead = 0.7;
const double kOrphanLife = 1.2;
// - Two people meeting head-on can swap tracks: people walking opposite
//   ways are never in view together. Those walking the same way keep this
//   far apart (mm), so that nobody overtakes and hides another, and a track
//   that trails its person (by up to about 0.8 m at a brisk pace) stays
//   nearer to it than to anyone else's.
const double kKeepApart = 1500.0;
// People come in runs going the same way at much the same pace, as groups
// do: the chance that the next person walks the previous one's way, and
// how much faster or slower they may be.
const double kSameWayChance = 0.85;
const double kPaceSpread = 0.1;
// Delay tried when a new walker does not keep clear of the others (s).
const double kRetryStep = 0.25;
const std::size_t kRemembered = 20;

// The two times at which a walker's front is kViewRange away.
void viewWindow(const Walker& walker, double& enter, double& leave) {
  const double reach = kViewRange + walker.radius;
  const double a = walker.velocity.x * walker.velocity.x + walker.velocity.y * walker.velocity.y;
  const double b = walker.start.x * walker.velocity.x + walker.start.y * walker.velocity.y;
  const double c = walker.start.x * walker.start.x + walker.start.y * walker.start.y - reach * reach;
  const double root = std::sqrt(std::max(0.0, b * b - a * c));
  enter = walker.spawnTime + (-b - root) / a;
  leave = walker.spawnTime + (-b + root) / a;
}

bool within(double t, double from, double to) { return t > from && t < to; }

}  // namespace

Crowd::Crowd(const CrowdSettings& settings)
    : settings_(settings), random_(settings.seed), generated_(0), pendingValid_(false), now_(0.0) {
  if (settings_.peoplePerMinute > 0.0) {
    recent_.push_back(nextWalker());
    pendingValid_ = recent_.back().crossTime <= settings_.lastCrossing;
  }
}

void Crowd::placeAt(Walker& walker, double spawn) const {
  const double halfWalk = kPathHalfLength / std::fabs(walker.velocity.x);
  walker.spawnTime = spawn;
  walker.crossTime = spawn + halfWalk;
  walker.leaveTime = spawn + 2.0 * halfWalk;
  viewWindow(walker, walker.enterView, walker.leaveView);
}

bool Crowd::keepsClearOf(const Walker& walker, const Walker& earlier) const {
  if (within(walker.enterView, earlier.leaveView - kLeaveLead, earlier.leaveView + kOrphanLife) ||
      within(earlier.enterView, walker.leaveView - kLeaveLead, walker.leaveView + kOrphanLife))
    return false;
  if (walker.goesIn != earlier.goesIn)
    return walker.enterView >= earlier.leaveView + kOrphanLife ||
           earlier.enterView >= walker.leaveView + kOrphanLife;
  const double from = std::max(walker.enterView, earlier.enterView);
  const double to = std::min(walker.leaveView, earlier.leaveView);
  for (double t = from; t <= to; t += 0.05) {
    const Vec2 p = walker.positionAt(t);
    const Vec2 q = earlier.positionAt(t);
    if (std::hypot(p.x - q.x, p.y - q.y) < kKeepApart) return false;
  }
  return true;
}

Walker Crowd::nextWalker() {
  const double meanInterval = 60.0 / settings_.peoplePerMinute;
  Walker walker;
  walker.id = ++generated_;
  const double turn = random_.unit();
  walker.goesIn = recent_.empty() ? turn < 0.5 : (turn < kSameWayChance) == recent_.back().goesIn;
  walker.radius = random_.uniform(200.0, 250.0);
  double speed = random_.uniform(settings_.minSpeed, settings_.maxSpeed);
  const double pace = random_.uniform(1.0 - kPaceSpread, 1.0 + kPaceSpread);
  if (!recent_.empty() && recent_.back().goesIn == walker.goesIn)
    speed = std::min(settings_.maxSpeed,
                     std::max(settings_.minSpeed, std::fabs(recent_.back().velocity.x) * pace));
  const double crossingY = random_.uniform(kCrossingYMin, kCrossingYMax);
  const double tilt = random_.uniform(kTiltMin, kTiltMax);
  const double interval = meanInterval * random_.uniform(0.5, 1.5);

  const double side = walker.goesIn ? 1.0 : -1.0;
  walker.start = {-side * kPathHalfLength, crossingY + tilt};
  const Vec2 end = {side * kPathHalfLength, crossingY - tilt};
  const double length = std::hypot(end.x - walker.start.x, end.y - walker.start.y);
  walker.velocity = {(end.x - walker.start.x) / length * speed, (end.y - walker.start.y) / length * speed};

  double spawn = settings_.quietStart;
  if (!recent_.empty()) {
    const Walker& previous = recent_.back();
    placeAt(walker, 0.0);
    spawn = std::max(previous.spawnTime + interval, previous.crossTime + kCrossingGap - walker.crossTime);
  }
  for (;; spawn += kRetryStep) {
    placeAt(walker, spawn);
    bool clear = true;
    for (const Walker& earlier : recent_) clear = clear && keepsClearOf(walker, earlier);
    if (clear) break;
  }
  return walker;
}

void Crowd::advanceTo(double t, std::vector<Crossing>& crossings) {
  while (pendingValid_ && recent_.back().spawnTime <= t) {
    present_.push_back(recent_.back());
    recent_.push_back(nextWalker());
    if (recent_.size() > kRemembered) recent_.pop_front();
    pendingValid_ = recent_.back().crossTime <= settings_.lastCrossing;
  }
  for (const Walker& walker : present_)
    if (walker.crossTime > now_ && walker.crossTime <= t)
      crossings.push_back({walker.id, walker.goesIn, walker.crossTime});
  present_.erase(std::remove_if(present_.begin(), present_.end(),
                                [t](const Walker& walker) { return walker.leaveTime < t; }),
                 present_.end());
  now_ = t;
}
