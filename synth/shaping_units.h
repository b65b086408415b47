// The filter (opcode 3) and the distortion (opcode 4): mono units that
// replace the value on top of the stack. While the voice is off both stand
// still and pass their input through.
#pragma once

#include <cstdint>

#include "synth/opcodes.h"
#include "synth/unit_math.h"
#include "synth/voice_state.h"

struct FilterParams {
  double frequency;
  double resonance;
  uint8_t type;
};

constexpr FilterParams decodeFilter(const float* p, const uint8_t* raw) { return FilterParams{p[0], p[1], raw[2]}; }

// A state-variable filter. Slots: 0 low-pass state, 1 high-pass value,
// 2 band-pass state, 3 the coefficient, 4 frequency modulation (see
// plusSlot for Live). `type` is
// fp.type, passed apart so that a caller that knows it can fold it.
template <uint8_t Live = kAllSlotsLive>
inline double filterStep(const FilterParams& fp, uint8_t type, float* ws, double x) {
  const double tuned = plusSlot<Live, 4>(fp.frequency, ws);
  const double f = tuned * tuned;
  ws[3] = static_cast<float>(f);
  const double low = ws[0] + f * ws[2];
  ws[0] = static_cast<float>(low);
  const double high = (x - low) - fp.resonance * ws[2];
  ws[1] = static_cast<float>(high);
  const double band = ws[2] + ws[3] * high;
  ws[2] = static_cast<float>(band);
  double out = 0.0;
  if (type & kFilterLow) out += ws[0];
  if (type & kFilterHigh) out += ws[1];
  if (type & kFilterBand) out += ws[2];
  if (type & kFilterPeak) {
    out += ws[0];
    out -= ws[1];
  }
  return out;
}

// Filters the top value; while the voice is off the filter stands still
// and the value stays as it is.
template <uint8_t Live = kAllSlotsLive>
[[gnu::always_inline]] inline void filterUnit(const FilterParams& fp, uint8_t type, const VoiceRecord& voice, float* ws,
                                              double* s) {
  if (voice.note != 0) s[-1] = filterStep<Live>(fp, type, ws, s[-1]);
}

struct DistortionParams {
  double curve;     // waveshaper curve factor of the drive
  double holdStep;  // the hold counter's fall per sample
};

constexpr DistortionParams decodeDistortion(const float* p) {
  const double hold = p[1];
  return DistortionParams{synth::waveshapeCurve(p[0]), hold * hold};
}

// Waveshaper with sample-and-hold. Slots: 0 held output, 1 hold counter.
inline double distortionStep(const DistortionParams& dp, float* ws, double x) {
  const double counter = ws[1] - dp.holdStep;
  ws[1] = static_cast<float>(counter);
  if (counter > 0.0) return ws[0];
  ws[1] = static_cast<float>(counter + 1.0);
  const double y = synth::waveshapeWithCurve(x, dp.curve);
  ws[0] = static_cast<float>(y);
  return y;
}

// Shapes the top value; while the voice is off the distortion stands still
// and the value stays as it is, not even clamped.
[[gnu::always_inline]] inline void distortionUnit(const DistortionParams& dp, const VoiceRecord& voice, float* ws,
                                                  double* s) {
  if (voice.note != 0) s[-1] = distortionStep(dp, ws, s[-1]);
}
