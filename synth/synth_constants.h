// The synthesizer's numeric constants: ten 32-bit words shared by the
// render loop and the units. The values are part of the sound, so they are
// kept by their exact stored bits. noiseSeed is the only word that changes
// during a render.
#pragma once

#include <cstdint>

#include "synth/bit_cast.h"

struct SynthConstants {
  float paramScale;      // 0: 1/128, a parameter byte's scale
  int32_t noiseDivisor;  // 1: -2^31, maps noiseSeed to (-1, 1]
  float half;            // 2: 0.5, centre of transpose, detune and store amounts
  float modScale;        // 3: 1024, the delay's modulation rate divisor and depth factor
  float dcCoefficient;   // 4: 255/256, the delay's output DC filter
  int32_t noiseSeed;     // 5: the noise generator's state, 1 at start
  int32_t rateExponent;  // 6: 24, envelope steps are 2^(-24p) per sample
  float twelfth;         // 7: 1/12 as stored, semitones to octaves
  float noteBase;        // 8: cycles per sample at pitch 0
  float lfoBase;         // 9: cycles per sample at pitch 0 in low-frequency mode
};
static_assert(sizeof(SynthConstants) == 40);

extern SynthConstants synthConstants;

inline constexpr int32_t kNoiseSeedStart = 1;
inline constexpr int32_t kNoiseMultiplier = 16007;

// The same values as compile-time constants for the units' arithmetic.
inline constexpr float kParamScale = 0.0078125f;
inline constexpr int32_t kNoiseDivisor = INT32_MIN;
inline constexpr float kHalf = 0.5f;
inline constexpr float kModScale = 1024.0f;
inline constexpr float kDcCoefficient = 0.99609375f;
inline constexpr int32_t kRateExponent = 24;
inline constexpr float kTwelfth = bitCast<float>(0x3DAAAAAAu);
inline constexpr float kNoteBase = bitCast<float>(0x38C265DCu);
inline constexpr float kLfoBase = bitCast<float>(0x384AE627u);
