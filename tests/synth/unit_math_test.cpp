// The shared numeric routines: noise, powers of two, remainders, the
// waveshaper and the output clip.
#include "synth/unit_math.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

uint64_t bits(double v) { return std::bit_cast<uint64_t>(v); }

TEST(NoiseGenerator, FirstValuesFromTheInitialSeed) {
  noiseSeed = kNoiseSeedStart;
  EXPECT_NEAR(synth::nextNoise(), -7.4538e-06, 1e-10);
  EXPECT_EQ(noiseSeed, 16007);
  EXPECT_NEAR(synth::nextNoise(), -0.1193136, 1e-7);
  EXPECT_EQ(noiseSeed, static_cast<int32_t>(16007u * 16007u));
  EXPECT_NEAR(synth::nextNoise(), 0.1468767, 1e-7);
  // The seed stays odd, so the value is never 0, and stays in (-1, 1].
  for (int i = 0; i < 100000; ++i) {
    const double v = synth::nextNoise();
    ASSERT_NE(v, 0.0);
    ASSERT_GT(v, -1.0);
    ASSERT_LE(v, 1.0);
  }
  noiseSeed = kNoiseSeedStart;
}

TEST(NoiseGenerator, MostNegativeSeedGivesPlusOne) {
  EXPECT_EQ(static_cast<double>(INT32_MIN) / kNoiseDivisor, 1.0);
}

TEST(PowerOfTwo, IsTheFractionsPowerScaledByTheWholePart) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> range(-40.0, 40.0);
  for (int i = 0; i < 20000; ++i) {
    const double x = range(random);
    const double whole = std::trunc(x);
    const double expected = std::ldexp(std::exp2(x - whole), static_cast<int>(whole));
    ASSERT_EQ(bits(synth::exp2(x)), bits(expected)) << x;
  }
  EXPECT_EQ(synth::exp2(0.0), 1.0);
  EXPECT_EQ(synth::exp2(-3.0), 0.125);
  EXPECT_EQ(synth::exp2(10.0), 1024.0);
  // The fraction keeps the sign of x: -2.5 is 2^-0.5 / 4.
  EXPECT_EQ(bits(synth::exp2(-2.5)), bits(std::exp2(-0.5) * 0.25));
  // Results below the normal range and beyond it.
  EXPECT_EQ(bits(synth::exp2(-1060.25)), bits(std::ldexp(std::exp2(-0.25), -1060)));
  EXPECT_EQ(synth::exp2(5000.0), std::numeric_limits<double>::infinity());
  EXPECT_EQ(synth::exp2(-5000.0), 0.0);
  EXPECT_TRUE(std::isnan(synth::exp2(std::numeric_limits<double>::quiet_NaN())));
}

TEST(PowerOfTwo, EnvelopeRateStepsAndDurations) {
  EXPECT_EQ(synth::envelopeRate(0.0), 1.0);
  EXPECT_EQ(synth::envelopeRate(32 / 128.0), 1.0 / 64);
  EXPECT_EQ(synth::envelopeRate(64 / 128.0), 1.0 / 4096);
  EXPECT_EQ(synth::envelopeRate(80 / 128.0), 1.0 / 32768);
  EXPECT_EQ(synth::envelopeRate(128 / 128.0), 1.0 / 16777216);
  EXPECT_NEAR(synth::envelopeRate(57 / 128.0), std::exp2(-10.6875), 1e-18);
}

TEST(Remainder, MatchesTruncatingFmodInEveryBit) {
  const double inf = std::numeric_limits<double>::infinity();
  const double samples[] = {0.0, -0.0, 0.25, 1.0, -1.0, 1.5, 2.0, 2.75, -0.3, -1.0 + 1e-17, 3.999999999,
                            1e-300, -1e-300, 0x1p51 + 0.5, 0x1p52, -0x1p60, 1e300, inf, -inf};
  for (double x : samples) EXPECT_EQ(bits(synth::wrapCycle(x)), bits(std::fmod(x, 1.0))) << x;
  EXPECT_TRUE(std::isnan(synth::wrapCycle(std::numeric_limits<double>::quiet_NaN())));
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> range(-5.0, 5.0);
  for (int i = 0; i < 100000; ++i) {
    const double x = range(random);
    ASSERT_EQ(bits(synth::wrapCycle(x)), bits(std::fmod(x, 1.0))) << x;
  }
}

TEST(Remainder, RoundHalfEvenMatchesNearbyint) {
  const double samples[] = {0.0, 0.5, 1.5, 2.5, 3.49999, 1023.5, 1024.5, 32257.4, 0.49999999999999994};
  for (double x : samples) EXPECT_EQ(synth::roundHalfEven(x), std::nearbyint(x)) << x;
}

TEST(Waveshaper, CurveFactorsOfDriveBytes) {
  EXPECT_EQ(synth::waveshapeCurve(64 / 128.0), 0.0);
  EXPECT_EQ(synth::waveshapeCurve(96 / 128.0), 2.0);
  EXPECT_EQ(synth::waveshapeCurve(120 / 128.0), 14.0);
  EXPECT_EQ(synth::waveshapeCurve(126 / 128.0), 62.0);
  EXPECT_NEAR(synth::waveshapeCurve(1 / 128.0), -0.992, 5e-4);
}

TEST(Waveshaper, ClampsAndBends) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int drive : {1, 32, 64, 96, 120, 126}) {
    const double a = drive / 128.0;
    EXPECT_EQ(synth::waveshape(1.0, a), 1.0) << drive;
    EXPECT_EQ(synth::waveshape(-1.0, a), -1.0) << drive;
    EXPECT_EQ(synth::waveshape(7.0, a), 1.0) << drive;
    EXPECT_EQ(synth::waveshape(-7.0, a), -1.0) << drive;
    EXPECT_EQ(synth::waveshape(nan, a), 1.0) << drive;
    EXPECT_EQ(synth::waveshape(0.0, a), 0.0) << drive;
  }
  // Drive 64 is a plain clamp; above it small values grow, below they shrink.
  EXPECT_EQ(synth::waveshape(0.3, 0.5), 0.3);
  EXPECT_EQ(synth::waveshape(0.5, 96 / 128.0), 3.0 * 0.5 / 2.0);
  EXPECT_LT(synth::waveshape(0.5, 1 / 128.0), 0.01);
  // The shortcut for k = 0 gives the bits of the full formula.
  for (double x : {0.3, -0.7, -0.0, 1e-310}) {
    EXPECT_EQ(bits(synth::waveshapeWithCurve(x, 0.0)), bits((1.0 + 0.0) * x / (1.0 + 0.0 * std::fabs(x)))) << x;
  }
}

TEST(OutputClip, LimitsToPlusMinusOneAndNonNumbersToOne) {
  EXPECT_EQ(synth::clipSample(1.0f), 1.0f);
  EXPECT_EQ(synth::clipSample(3.5f), 1.0f);
  EXPECT_EQ(synth::clipSample(-1.0f), -1.0f);
  EXPECT_EQ(synth::clipSample(-2.0f), -1.0f);
  EXPECT_EQ(synth::clipSample(0.25f), 0.25f);
  EXPECT_EQ(std::bit_cast<uint32_t>(synth::clipSample(-0.0f)), std::bit_cast<uint32_t>(-0.0f));
  EXPECT_EQ(synth::clipSample(std::numeric_limits<float>::quiet_NaN()), 1.0f);
  EXPECT_EQ(synth::clipSample(-std::numeric_limits<float>::quiet_NaN()), 1.0f);
  EXPECT_EQ(synth::clipSample(std::numeric_limits<float>::infinity()), 1.0f);
  EXPECT_EQ(synth::clipSample(-std::numeric_limits<float>::infinity()), -1.0f);
}

}  // namespace
