// The synthesizer's numeric constants, shared by the render loop and the
// units, and the noise generator's seed beside them. The values are part of
// the sound, so they are kept by their exact stored bits.
#pragma once

#include <cstdint>

#include "synth/bit_cast.h"

inline constexpr float kParamScale = 0.0078125f;  // 1/128, a parameter byte's scale
inline constexpr int32_t kNoiseDivisor = INT32_MIN;  // -2^31, maps noiseSeed to (-1, 1]
inline constexpr float kHalf = 0.5f;  // centre of transpose, detune and store amounts
inline constexpr float kModScale = 1024.0f;  // the delay's modulation rate divisor and depth factor
inline constexpr float kDcCoefficient = 0.99609375f;  // 255/256, the delay's output DC filter
inline constexpr int32_t kRateExponent = 24;  // envelope steps are 2^(-24p) per sample
inline constexpr float kTwelfth = bitCast<float>(0x3DAAAAAAu);  // 1/12 as stored, semitones to octaves
inline constexpr float kNoteBase = bitCast<float>(0x38C265DCu);  // cycles per sample at pitch 0
inline constexpr float kLfoBase = bitCast<float>(0x384AE627u);  // the same in low-frequency mode

inline constexpr int32_t kNoiseSeedStart = 1;
inline constexpr int32_t kNoiseMultiplier = 16007;

// The noise generator's state: the only one of these words that changes
// during a render.
extern int32_t noiseSeed;
