// The envelope (opcode 1) and the oscillator (opcode 2): the sound sources
// of every instrument program. Each pushes one value per sample.
//
// A unit's parameters are decoded from its parameter values p (the bytes
// divided by 128, as loadParams leaves them) and its raw bytes; the step
// functions take the decoded form, so decoding once per note or once per
// render gives the same bits as decoding on every sample.
//
// Each unit has its step, the arithmetic on values, and its unit function,
// which does the step on the value stack (see unit_table.h).
#pragma once

#include <cstdint>

#include "synth/bit_cast.h"
#include "synth/opcodes.h"
#include "synth/unit_math.h"
#include "synth/voice_state.h"

// Envelope stages, the low byte of slot 0.
inline constexpr uint32_t kStageAttack = 0;
inline constexpr uint32_t kStageDecay = 1;
inline constexpr uint32_t kStageSustain = 2;
inline constexpr uint32_t kStageRelease = 3;
inline constexpr uint32_t kStageDone = 4;

inline uint32_t envelopeStage(const float* ws) { return bitCast<uint32_t>(ws[0]) & 0xFFu; }

struct EnvelopeParams {
  double rate[4];  // per stage: attack, decay, (sustain unused), release
  double sustain;
  double gain;
};

inline EnvelopeParams decodeEnvelope(const float* p) {
  return EnvelopeParams{{synth::envelopeRate(p[0]), synth::envelopeRate(p[1]), 0.0, synth::envelopeRate(p[3])},
                        p[2], p[4]};
}

// Slots: 0 stage, 1 level, 2 gain modulation (see plusSlot for Live).
template <uint8_t Live = kAllSlotsLive>
inline double envelopeStep(const EnvelopeParams& e, const VoiceRecord& voice, float* ws) {
  if (voice.note == 0) return 0.0;
  uint32_t word = bitCast<uint32_t>(ws[0]);
  if (voice.releaseCount != 0) {
    word = (word & ~0xFFu) | kStageRelease;
    ws[0] = bitCast<float>(word);
  }
  const uint32_t stage = word & 0xFFu;
  double level = ws[1];
  bool advance = false;
  switch (stage) {
    case kStageAttack: {
      const double next = level + e.rate[kStageAttack];
      advance = next >= 1.0;
      level = advance ? 1.0 : next;
      break;
    }
    case kStageDecay: {
      const double next = level - e.rate[kStageDecay];
      advance = next <= e.sustain;
      level = advance ? e.sustain : next;
      break;
    }
    case kStageRelease: {
      const double next = level - e.rate[kStageRelease];
      advance = next <= 0.0;
      level = advance ? 0.0 : next;
      break;
    }
    default:  // sustain and done hold the level (as does any stage no unit sets)
      return level * plusSlot<Live, 2>(e.gain, ws);
  }
  ws[1] = static_cast<float>(level);
  if (advance) ws[0] = bitCast<float>((word & ~0xFFu) | ((word + 1) & 0xFFu));
  return level * plusSlot<Live, 2>(e.gain, ws);
}

// Pushes the envelope's output, 0 while the voice is off.
template <uint8_t Live = kAllSlotsLive>
[[gnu::always_inline]] inline void envelopeUnit(const EnvelopeParams& e, const VoiceRecord& voice, float* ws,
                                                double* s) {
  s[0] = envelopeStep<Live>(e, voice, ws);
}

struct OscillatorParams {
  double transpose;  // p - 0.5: the transpose offset in units of 128 semitones
  double detune;     // 2p - 1: the detune in semitones
  double phase;
  double color;
  double curve;  // waveshaper curve factor of the drive
  double gain;
  double base;  // cycles per sample at pitch 0
  uint8_t flags;
};

constexpr OscillatorParams decodeOscillator(const float* p, const uint8_t* raw) {
  const uint8_t flags = raw[6];
  return OscillatorParams{static_cast<double>(p[0]) - kHalf,
                          2.0 * p[1] - 1.0,
                          p[2],
                          p[3],
                          synth::waveshapeCurve(p[4]),
                          p[5],
                          (flags & kOscillatorLfo) ? kLfoBase : kNoteBase,
                          flags};
}

// The waveform selected by `flags` at read position t (cycles) with colour
// c, before the waveshaper. Noise ignores t and c.
inline double oscillatorWave(uint8_t flags, double t, double c) {
  if (flags & kWaveSine) return std::sin(synth::kTwoPi * t);
  if (flags & kWaveTrisaw) return t <= c ? 2.0 * t / c - 1.0 : 2.0 * (1.0 - t) / (1.0 - c) - 1.0;
  if (flags & kWavePulse) return t <= c ? 1.0 : -1.0;
  if (flags & kWaveNoise) return synth::nextNoise();
  return 0.0;
}

// The latest pitch and its phase increment: the power of two is taken
// again only when the pitch changes.
struct PitchCache {
  double pitch;
  double increment;
};

// Slots: 0 phase, 1 transpose modulation, 2 detune modulation, 4 phase
// modulation, 5 colour modulation, 7 gain modulation (see plusSlot for
// Live). `flags` is o.flags, passed apart so that a caller that knows it
// can fold it. A caller that knows the waveform value lies in [-1, 1] sets
// InRange. `cache` may be null.
template <uint8_t Live = kAllSlotsLive, bool InRange = false>
inline double oscillatorStep(const OscillatorParams& o, uint8_t flags, int32_t note, float* ws, PitchCache* cache) {
  if (note == 0) return 0.0;
  double pitch = plusSlot<Live, 2>(plusSlot<Live, 1>(o.transpose, ws) * 128.0 + o.detune, ws);
  if (!(flags & kOscillatorLfo)) pitch += note;
  double increment;
  if (cache != nullptr && cache->pitch == pitch) {
    increment = cache->increment;
  } else {
    increment = synth::exp2(pitch * kTwelfth) * o.base;
    if (cache != nullptr) *cache = PitchCache{pitch, increment};
  }
  const double phase = synth::wrapCycle(ws[0] + increment + 1.0);
  ws[0] = static_cast<float>(phase);
  const double t = synth::wrapCycle(plusSlot<Live, 4>(phase, ws) + o.phase + 1.0);
  const double s = oscillatorWave(flags, t, plusSlot<Live, 5>(o.color, ws));
  return synth::waveshapeWithCurve<InRange>(s, o.curve) * plusSlot<Live, 7>(o.gain, ws);
}

// Pushes the oscillator's output, 0 while the voice is off.
template <uint8_t Live = kAllSlotsLive, bool InRange = false>
[[gnu::always_inline]] inline void oscillatorUnit(const OscillatorParams& o, uint8_t flags, const VoiceRecord& voice,
                                                  float* ws, PitchCache* cache, double* s) {
  s[0] = oscillatorStep<Live, InRange>(o, flags, voice.note, ws, cache);
}
