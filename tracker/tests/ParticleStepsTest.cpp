// The two-at-a-time particle steps against the plain arithmetic, for every
// draw the generator can give.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "component/ProcessorFeatures.h"
#include "tracker/HypotPair.h"
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

#if defined(__SSE2__)
// Without AVX the four lanes stand in for the library's own results.
__attribute__((target("avx"))) void avxFour(double x, double y, double* out) {
  _mm256_storeu_pd(out, particle_steps::hypotFour(_mm256_set_pd(y, x, -y, x), _mm256_set_pd(x, y, x, -y)));
}
void fourAtATime(double x, double y, double* out) {
  if (processorHasAvx()) return avxFour(x, y, out);
  for (int lane = 0; lane < 4; ++lane) out[lane] = std::hypot(x, y);
}
#endif

TEST(HypotPair, GivesTheLibrarysBitsOnEveryMagnitude) {
#if defined(__SSE2__)
  // Mantissas from a fixed sequence, exponents from 2^-1074 to 2^1023, and
  // the library's special cases; each pair in both orders and signs.
  uint64_t state = 1;
  const auto next = [&state] { return state = state * 6364136223846793005ULL + 1442695040888963407ULL; };
  std::vector<double> values = {0.0, -0.0, 1.0, 2.0, 0x1p-459, 0x1p511, 4.9e-324, 1.7976931348623157e308,
                                std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  for (int k = 0; k < 200000; ++k) {
    const double mantissa = 1.0 + static_cast<double>(next() >> 12) * 0x1p-52;
    values.push_back(std::ldexp(mantissa, static_cast<int>(next() % 2098) - 1074));
    values.push_back(std::trunc(mantissa * 1e4) + (next() % 4 ? 0.0 : static_cast<double>(next() % 1000) / 8));
  }
  for (std::size_t k = 0; k < values.size(); ++k) {
    const double x = values[k], y = (k % 3 ? 1.0 : -1.0) * values[next() % values.size()];
    double got[6];
    _mm_storeu_pd(got, particle_steps::hypotPair(_mm_set_pd(y, x), _mm_set_pd(x, y)));
    fourAtATime(x, y, got + 2);
    const double expected = std::hypot(x, y);
    for (double g : got)
      ASSERT_TRUE(std::memcmp(&g, &expected, sizeof g) == 0 || (std::isnan(g) && std::isnan(expected)))
          << std::hexfloat << x << ", " << y << ": " << g << " against " << expected;
  }
#endif
}
