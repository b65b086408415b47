// The envelope and the oscillator.
#include "synth/source_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "synth/routing_units.h"

namespace {

float value(int byte) { return static_cast<float>(byte) / 128.0f; }

EnvelopeParams envelope(int attack, int decay, int sustain, int release, int gain) {
  const float p[5] = {value(attack), value(decay), value(sustain), value(release), value(gain)};
  return decodeEnvelope(p);
}

struct Voice {
  VoiceRecord record{};
  Voice() { record.note = 60; }
  float* ws(uint32_t u) { return record.workspace[u]; }
};

TEST(Envelope, StoreFeedbackIntoItsOwnGain) {
  // The first unit of instrument 1, followed by a store of amount 128 into
  // its own gain modulation (slot 2): the output is level * (1 + previous).
  const EnvelopeParams e = envelope(0, 57, 63, 63, 128);
  Voice v;
  std::vector<double> out;
  for (int n = 0; n < 20000; ++n) {
    const double y = envelopeStep(e, v.record, v.ws(0));
    storeStep(storeFactor(1.0), 2, y, v.record);
    out.push_back(y);
  }
  EXPECT_EQ(out[0], 1.0);
  EXPECT_NEAR(out[1], 1.999, 5e-4);
  EXPECT_NEAR(out[2], 2.995, 5e-4);
  EXPECT_NEAR(out[3], 3.988, 5e-4);
  const auto peak = std::max_element(out.begin(), out.end());
  EXPECT_EQ(peak - out.begin(), 51);  // the 52nd sample
  EXPECT_NEAR(*peak, 30.8, 0.05);
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageSustain);
  EXPECT_NEAR(out.back(), 63.0 / 65.0, 1e-4);
}

TEST(Envelope, StagesOfANote) {
  const EnvelopeParams e = envelope(32, 32, 64, 32, 128);  // 64-sample segments, sustain 0.5
  Voice v;
  for (int n = 1; n <= 64; ++n) EXPECT_EQ(envelopeStep(e, v.record, v.ws(0)), std::min(1.0, n / 64.0)) << n;
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageDecay);
  for (int n = 1; n <= 32; ++n) envelopeStep(e, v.record, v.ws(0));
  EXPECT_EQ(v.ws(0)[1], 0.5f);
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageSustain);
  // Sustain holds, and the gain modulation adds to the gain.
  v.ws(0)[2] = 0.5f;
  EXPECT_EQ(envelopeStep(e, v.record, v.ws(0)), 0.75);
  v.ws(0)[2] = 0.0f;
  // A release from sustain runs down to 0, then reads done.
  v.record.releaseCount = 1;
  for (int n = 1; n <= 32; ++n) EXPECT_EQ(envelopeStep(e, v.record, v.ws(0)), 0.5 - n / 64.0) << n;
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageDone);
  // Released at level 0: pushes 0 and reads done after every sample.
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(envelopeStep(e, v.record, v.ws(0)), 0.0);
    EXPECT_EQ(envelopeStage(v.ws(0)), kStageDone);
  }
}

TEST(Envelope, AttackZeroAndReleaseDuringAttack) {
  Voice v;
  const EnvelopeParams instant = envelope(0, 64, 64, 64, 128);
  EXPECT_EQ(envelopeStep(instant, v.record, v.ws(0)), 1.0);
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageDecay);
  EXPECT_EQ(envelopeStep(instant, v.record, v.ws(0)), 1.0 - 1.0 / 4096);

  Voice w;
  const EnvelopeParams slow = envelope(64, 64, 64, 32, 128);
  for (int n = 0; n < 2048; ++n) envelopeStep(slow, w.record, w.ws(0));
  EXPECT_EQ(w.ws(0)[1], 0.5f);
  w.record.releaseCount = 2;
  EXPECT_EQ(envelopeStep(slow, w.record, w.ws(0)), 0.5 - 1.0 / 64);
  EXPECT_EQ(envelopeStage(w.ws(0)), kStageRelease);
}

TEST(Envelope, SustainAboveFullLevelIsTakenAtOnce) {
  Voice v;
  const EnvelopeParams e = envelope(0, 64, 160, 64, 128);
  envelopeStep(e, v.record, v.ws(0));
  EXPECT_EQ(envelopeStep(e, v.record, v.ws(0)), 1.25);
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageSustain);
}

TEST(Envelope, VoiceOffPushesZeroAndLeavesTheWorkspace) {
  Voice v;
  v.record.note = 0;
  v.ws(0)[1] = 0.7f;
  EXPECT_EQ(envelopeStep(envelope(0, 64, 64, 64, 128), v.record, v.ws(0)), 0.0);
  EXPECT_EQ(v.ws(0)[1], 0.7f);
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageAttack);
}

TEST(Envelope, OnlyTheLowByteIsTheStage) {
  Voice v;
  v.ws(0)[0] = std::bit_cast<float>(0x12345601u);  // decay, with other bits set
  v.ws(0)[1] = 0.75f;
  EXPECT_EQ(envelopeStep(envelope(0, 32, 0, 64, 128), v.record, v.ws(0)), 0.75 - 1.0 / 64);
  EXPECT_EQ(envelopeStage(v.ws(0)), kStageDecay);
}

OscillatorParams oscillator(int transpose, int detune, int phase, int color, int drive, int gain, uint8_t flags) {
  const float p[7] = {value(transpose), value(detune), value(phase), value(color),
                      value(drive),     value(gain),   value(flags)};
  const uint8_t raw[7] = {static_cast<uint8_t>(transpose), static_cast<uint8_t>(detune), static_cast<uint8_t>(phase),
                          static_cast<uint8_t>(color),     static_cast<uint8_t>(drive),  static_cast<uint8_t>(gain),
                          flags};
  return decodeOscillator(p, raw);
}

TEST(Oscillator, WaveformsAtColourOneHalf) {
  struct Row {
    double t, sine, trisaw, pulse;
  };
  const Row rows[] = {{0.0, 0.0, -1.0, 1.0}, {0.25, 1.0, 0.0, 1.0}, {0.5, 0.0, 1.0, 1.0}, {0.75, -1.0, 0.0, -1.0}};
  for (const Row& r : rows) {
    EXPECT_NEAR(oscillatorWave(kWaveSine, r.t, 0.5), r.sine, 1e-15) << r.t;
    EXPECT_EQ(oscillatorWave(kWaveTrisaw, r.t, 0.5), r.trisaw) << r.t;
    EXPECT_EQ(oscillatorWave(kWavePulse, r.t, 0.5), r.pulse) << r.t;
  }
}

TEST(Oscillator, SawAndPulseEdges) {
  // Colour 0: a falling saw 1 - 2t; at t = 0 the 0/0 becomes +1 in the shaper.
  EXPECT_EQ(oscillatorWave(kWaveTrisaw, 0.25, 0.0), 0.5);
  EXPECT_TRUE(std::isnan(oscillatorWave(kWaveTrisaw, 0.0, 0.0)));
  EXPECT_EQ(synth::waveshape(oscillatorWave(kWaveTrisaw, 0.0, 0.0), 0.5), 1.0);
  EXPECT_EQ(oscillatorWave(kWavePulse, 0.9, 1.0), 1.0);
  EXPECT_EQ(oscillatorWave(kWavePulse, 0.0, -0.1), -1.0);
  // A negative read position is taken as it comes.
  EXPECT_EQ(oscillatorWave(kWavePulse, -0.25, 0.5), 1.0);
  EXPECT_NEAR(oscillatorWave(kWaveSine, -0.25, 0.5), -1.0, 1e-15);
}

TEST(Oscillator, PitchOfNotesAndTheLowFrequencyMode) {
  const OscillatorParams o = oscillator(64, 64, 0, 64, 64, 128, kWaveSine);
  for (auto [note, hz] : {std::pair{81, 440.0}, {69, 220.0}, {93, 880.0}}) {
    Voice v;
    oscillatorStep(o, o.flags, note, v.ws(0), nullptr);
    EXPECT_NEAR(v.ws(0)[0] * 44100.0, hz, hz * 1e-4) << note;
  }
  const OscillatorParams lfo = oscillator(64, 64, 0, 64, 64, 128, kWaveSine | kOscillatorLfo);
  for (int note : {2, 60, 127}) {
    Voice v;
    oscillatorStep(lfo, lfo.flags, note, v.ws(0), nullptr);
    EXPECT_NEAR(v.ws(0)[0] * 44100.0, 2.1333, 1e-4) << note;
  }
}

TEST(Oscillator, FirstOutputIsTakenAtPhaseIncrementAndPhaseWraps) {
  const OscillatorParams o = oscillator(64, 64, 0, 64, 64, 128, kWavePulse);
  Voice v;
  const double first = oscillatorStep(o, o.flags, 81, v.ws(0), nullptr);
  EXPECT_EQ(first, 1.0);
  const float inc = v.ws(0)[0];
  EXPECT_GT(inc, 0.0f);
  for (int n = 0; n < 1000; ++n) {
    oscillatorStep(o, o.flags, 81, v.ws(0), nullptr);
    ASSERT_GE(v.ws(0)[0], 0.0f);
    ASSERT_LT(v.ws(0)[0], 1.0f);
  }
}

TEST(Oscillator, PitchCacheGivesTheSameBits) {
  // A detune modulation that changes every few samples: the cached and the
  // uncached oscillator must agree in every bit.
  const OscillatorParams o = oscillator(70, 60, 10, 40, 96, 100, kWaveTrisaw);
  Voice a;
  Voice b;
  PitchCache cache{std::nan(""), 0.0};
  for (int n = 0; n < 5000; ++n) {
    const float mod = static_cast<float>((n / 7) % 13) * 0.1f;
    a.ws(0)[2] = mod;
    b.ws(0)[2] = mod;
    const double x = oscillatorStep(o, o.flags, 50, a.ws(0), nullptr);
    const double y = oscillatorStep(o, o.flags, 50, b.ws(0), &cache);
    ASSERT_EQ(std::bit_cast<uint64_t>(x), std::bit_cast<uint64_t>(y)) << n;
  }
}

TEST(Oscillator, NoiseDrawsOncePerSampleWhileTheVoiceSounds) {
  const OscillatorParams o = oscillator(64, 64, 0, 64, 64, 128, kWaveNoise);
  Voice v;
  noiseSeed = kNoiseSeedStart;
  EXPECT_NEAR(oscillatorStep(o, o.flags, 60, v.ws(0), nullptr), -7.4538e-06, 1e-10);
  EXPECT_EQ(oscillatorStep(o, o.flags, 0, v.ws(0), nullptr), 0.0);  // voice off: no draw
  EXPECT_NEAR(oscillatorStep(o, o.flags, 60, v.ws(0), nullptr), -0.1193136, 1e-7);
  noiseSeed = kNoiseSeedStart;
}

TEST(Oscillator, VoiceOffPushesZeroAndKeepsThePhase) {
  const OscillatorParams o = oscillator(64, 64, 0, 64, 64, 128, kWaveSine);
  Voice v;
  v.ws(0)[0] = 0.3f;
  EXPECT_EQ(oscillatorStep(o, o.flags, 0, v.ws(0), nullptr), 0.0);
  EXPECT_EQ(v.ws(0)[0], 0.3f);
}

}  // namespace
