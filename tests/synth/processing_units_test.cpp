// The filter, the distortion and the delay.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "synth/delay_unit.h"
#include "synth/shaping_units.h"

namespace {

float value(int byte) { return static_cast<float>(byte) / 128.0f; }

FilterParams filter(int frequency, int resonance, uint8_t type) {
  const float p[3] = {value(frequency), value(resonance), 0.0f};
  const uint8_t raw[3] = {static_cast<uint8_t>(frequency), static_cast<uint8_t>(resonance), type};
  return decodeFilter(p, raw);
}

TEST(Filter, ImpulseResponseAtQuarterCoefficient) {
  const FilterParams f = filter(64, 128, kFilterLow);
  float ws[8] = {};
  const float low[] = {0.0f, 0.0625f, 0.10546875f, 0.131103515625f};
  const float high[] = {1.0f, -0.3125f, -0.27734375f, -0.233642578125f};
  const float band[] = {0.25f, 0.171875f, 0.1025390625f, 0.04412841796875f};
  for (int n = 0; n < 4; ++n) {
    const double out = filterStep(f, f.type, ws, n == 0 ? 1.0 : 0.0);
    EXPECT_EQ(ws[0], low[n]) << n;
    EXPECT_EQ(ws[1], high[n]) << n;
    EXPECT_EQ(ws[2], band[n]) << n;
    EXPECT_EQ(ws[3], 0.25f);
    EXPECT_EQ(out, low[n]);
  }
}

TEST(Filter, OutputSelection) {
  // After one step of input 1 the states are low 0, high 1, band 0.25.
  struct Case {
    uint8_t type;
    double out;
  };
  for (const Case c : {Case{0, 0.0}, Case{kFilterHigh, 1.0}, Case{kFilterBand, 0.25},
                       Case{kFilterLow | kFilterHigh, 1.0}, Case{kFilterPeak, -1.0},
                       Case{kFilterLow | kFilterHigh | kFilterBand | kFilterPeak, 0.25}}) {
    const FilterParams f = filter(64, 128, c.type);
    float ws[8] = {};
    EXPECT_EQ(filterStep(f, f.type, ws, 1.0), c.out) << int(c.type);
    EXPECT_EQ(ws[2], 0.25f) << "states update whatever the type";
  }
}

TEST(Filter, RestAndZeroCoefficient) {
  const FilterParams f = filter(64, 64, kFilterLow | kFilterBand);
  float ws[8] = {};
  for (int n = 0; n < 10; ++n) EXPECT_EQ(filterStep(f, f.type, ws, 0.0), 0.0);
  const FilterParams closed = filter(0, 128, kFilterHigh);
  float ws2[8] = {};
  for (double x : {0.5, -0.25, 0.75}) EXPECT_EQ(filterStep(closed, closed.type, ws2, x), x);
  EXPECT_EQ(ws2[0], 0.0f);
  EXPECT_EQ(ws2[2], 0.0f);
}

TEST(Filter, FrequencyModulationIsAddedBeforeSquaring) {
  const FilterParams f = filter(32, 128, kFilterLow);
  float ws[8] = {};
  ws[4] = 0.25f;
  filterStep(f, f.type, ws, 1.0);
  EXPECT_EQ(ws[3], 0.25f);  // (0.25 + 0.25)^2
}

DistortionParams distortion(int drive, int hold) {
  const float p[2] = {value(drive), value(hold)};
  return decodeDistortion(p);
}

// Which of `count` samples (1-based) a distortion takes.
std::vector<int> takenSamples(int hold, int count) {
  const DistortionParams d = distortion(64, hold);
  float ws[8] = {};
  std::vector<int> taken;
  for (int n = 1; n <= count; ++n) {
    const double x = n / 1024.0;
    if (distortionStep(d, ws, x) == x) taken.push_back(n);
  }
  return taken;
}

TEST(Distortion, SampleAndHoldRates) {
  EXPECT_EQ(takenSamples(64, 13), (std::vector<int>{1, 4, 8, 12}));
  EXPECT_EQ(takenSamples(32, 33), (std::vector<int>{1, 16, 32}));
  EXPECT_EQ(takenSamples(128, 5), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(takenSamples(200, 5), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(takenSamples(0, 50), (std::vector<int>{1}));
}

TEST(Distortion, HeldValueAndClamp) {
  const DistortionParams d = distortion(64, 64);
  float ws[8] = {};
  EXPECT_EQ(distortionStep(d, ws, 3.0), 1.0);    // taken: clamped
  EXPECT_EQ(distortionStep(d, ws, -0.5), 1.0);   // held
  const DistortionParams drive = distortion(96, 128);
  float ws2[8] = {};
  EXPECT_EQ(distortionStep(drive, ws2, 0.5), 0.75);
}

// One delay unit of `lines` lines over the pool's first lines.
struct DelayBench {
  std::vector<DelayLine> pool;
  std::vector<uint16_t> lengths;
  DelayParams params;

  DelayBench(std::initializer_list<int> bytes, std::vector<uint16_t> lineLengths)
      : pool(lineLengths.size() + 1), lengths(std::move(lineLengths)) {
    std::memset(pool.data(), 0, pool.size() * sizeof(DelayLine));
    std::vector<uint8_t> raw;
    for (int b : bytes) raw.push_back(static_cast<uint8_t>(b));
    raw.push_back(0);
    raw.push_back(static_cast<uint8_t>(lengths.size()));
    float p[8];
    for (int i = 0; i < 8; ++i) p[i] = value(raw[i]);
    params = decodeDelay(p, raw.data());
  }
  double step(double x) { return delayStep(params, params.lineCount, x, pool.data(), lengths.data(), pool.back()); }
  // The sum before the DC blocker, as the blocker keeps it.
  float combSum() const { return pool.back().dcInput; }
};

TEST(Delay, DcBlockerImpulse) {
  DelayBench d({0, 128, 0, 0, 0, 0}, {16});  // dry only
  EXPECT_EQ(d.step(1.0), 1.0);
  EXPECT_EQ(d.step(0.0), -0.00390625);
  double expected = -0.0038909912109375;
  for (int n = 0; n < 5; ++n) {
    EXPECT_FLOAT_EQ(static_cast<float>(d.step(0.0)), static_cast<float>(expected));
    expected *= 0.99609375;
  }
  // A constant input settles to 0.
  for (int n = 0; n < 20000; ++n) d.step(0.5);
  EXPECT_NEAR(d.step(0.5), 0.0, 1e-9);
}

TEST(Delay, CombImpulseHalvesEveryRoundTrip) {
  const int n = 37;
  DelayBench d({128, 0, 64, 0, 0, 0}, {n});
  for (int s = 0; s <= 4 * n; ++s) {
    d.step(s == 0 ? 1.0 : 0.0);
    const float expected = s == n ? 1.0f : s == 2 * n ? 0.5f : s == 3 * n ? 0.25f : s == 4 * n ? 0.125f : 0.0f;
    ASSERT_EQ(d.combSum(), expected) << s;
  }
}

TEST(Delay, PlainDelayOfOneChannel) {
  DelayBench d({128, 0, 0, 0, 0, 0}, {512});
  std::vector<double> out;
  for (int s = 0; s < 1100; ++s) {
    d.step(s == 3 ? 0.75 : 0.0);
    out.push_back(d.combSum());
  }
  for (int s = 0; s < 1100; ++s) EXPECT_EQ(out[s], s == 515 ? 0.75 : 0.0) << s;
}

TEST(Delay, FullDampingFeedsNothingBack) {
  DelayBench d({128, 0, 128, 128, 0, 0}, {8});
  for (int s = 0; s < 40; ++s) {
    d.step(s == 0 ? 1.0 : 0.0);
    EXPECT_EQ(d.combSum(), s == 8 ? 1.0f : 0.0f) << s;
  }
}

TEST(Delay, FullFeedbackRepeatsAtFullLevel) {
  DelayBench d({128, 0, 128, 0, 0, 0}, {5});
  for (int s = 0; s <= 20; ++s) {
    d.step(s == 0 ? 1.0 : 0.0);
    EXPECT_EQ(d.combSum(), s > 0 && s % 5 == 0 ? 1.0f : 0.0f) << s;
  }
}

TEST(Delay, LinesSumAndKeepTheirOwnWriteIndex) {
  DelayBench d({128, 0, 0, 0, 0, 0}, {3, 4});
  for (int s = 0; s <= 8; ++s) {
    d.step(s == 0 ? 1.0 : 0.0);
    EXPECT_EQ(d.combSum(), s == 3 || s == 4 ? 1.0f : 0.0f) << s;
  }
  EXPECT_EQ(d.pool[0].writeIndex, 0);
  EXPECT_EQ(d.pool[1].writeIndex, 1);
}

TEST(Delay, ModulationShortensTheDelayAndAdvancesInTheFirstLine) {
  // modRate 128: 1/1024 cycle per sample; modDepth 64: swings 0 to 128.
  DelayBench d({128, 0, 0, 0, 128, 64}, {1000});
  d.step(0.0);
  EXPECT_EQ(d.pool[0].modulationPhase, 1.0f / 1024);
  EXPECT_EQ(d.pool[1].modulationPhase, 0.0f);
  // With the offset m the read lags the write by 1000 - m samples.
  const double m = synth::roundHalfEven((1.0 + std::sin(synth::kTwoPi * 2.0 / 1024)) * 64.0);
  EXPECT_EQ(m, 65.0);
  d.pool[0].samples[(1 + static_cast<int>(m)) % 1000] = 0.5f;
  d.step(0.0);
  EXPECT_EQ(d.combSum(), 0.5f);
}

TEST(Delay, OffsetsBeyondTheLengthReadTheUnwrittenPart) {
  // Depth 255 swings up to about 32 258 samples on a line of 100: the read
  // index stays inside the line's 65 536 samples and finds zeros there.
  DelayBench d({128, 0, 0, 0, 0, 255}, {100});
  for (int s = 0; s < 300; ++s) {
    d.step(1.0);
    EXPECT_EQ(d.combSum(), 0.0f) << s;
  }
}

}  // namespace
