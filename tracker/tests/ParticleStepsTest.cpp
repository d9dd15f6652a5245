// The two-at-a-time particle steps against the plain arithmetic, for every
// draw the generator can give.
#include <gtest/gtest.h>

#include "tracker/ParticleSteps.h"

TEST(ParticleSteps, EveryDrawMovesParticlesAsTheRemainderSays) {
  struct Case { const char* name; bool walk; int divisor, offset; double stepY, stepX; };
  const Case cases[] = {{"walk", true, 200, -100, 4.0, 4.0},
                        {"coast", false, 100, -20, 0.5, -3.0}};
  for (const Case& c : cases) {
    int32_t draws[2 * kParticleCount];
    for (int first = 0; first < 32768; first += 2 * kParticleCount) {
      for (int k = 0; k < 2 * kParticleCount; ++k) draws[k] = (first + k) % 32768;
      int32_t fractions[kParticleCount];
      particle_steps::hundredths(draws, fractions);
      for (int k = 0; k < kParticleCount; ++k) ASSERT_EQ(draws[k] % 100, fractions[k]) << draws[k];
      double y[kParticleCount] = {};
      double x[kParticleCount] = {};
      if (c.walk)
        particle_steps::walk(y, x, c.stepY, draws);
      else
        particle_steps::coast(y, x, c.stepY, c.stepX, draws);
      for (int k = 0; k < kParticleCount; ++k) {
        ASSERT_EQ(c.stepY * (draws[2 * k] % c.divisor + c.offset), y[k]) << c.name << " " << draws[2 * k];
        ASSERT_EQ(c.stepX * (draws[2 * k + 1] % c.divisor + c.offset), x[k]) << c.name << " " << draws[2 * k + 1];
      }
    }
  }
}
