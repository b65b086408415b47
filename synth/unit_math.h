// Numeric routines shared by the units. Values are carried in double
// precision; what a unit stores is rounded to single precision by the unit.
//
// Choices that fix every bit of the output:
// - "sin" is std::sin on a double; a phase t in cycles becomes the angle
//   2 * pi * t in double (pi being std::numbers::pi, the double nearest
//   to pi).
// - exp2 splits its argument into the integer part toward zero and the
//   remaining fraction, takes std::exp2 of the fraction in double and
//   scales the result by the integer power with std::ldexp.
// - The remainder of truncating division by 1 is computed exactly, with the
//   sign of the dividend, as std::fmod(x, 1.0) gives it.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

#include "synth/bit_cast.h"
#include "synth/synth_constants.h"

namespace synth {

inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Remainder of x divided by 1, truncating: the result has the sign of x.
// Equal to std::fmod(x, 1.0) in every bit, but without the call for the
// ordinary range (below 2^52 the subtraction of the integer part is exact).
inline double wrapCycle(double x) {
  // The usual cases, a phase plus offsets below 3: taking away 1 or 2 is
  // exact there, and needs no conversions.
  if (x >= 1.0 && x < 2.0) return x - 1.0;
  if (x >= 2.0 && x < 3.0) return x - 2.0;
  if (std::fabs(x) < 0x1p52) return std::copysign(x - static_cast<double>(static_cast<int64_t>(x)), x);
  return std::fmod(x, 1.0);
}

// 2^x as 2^fraction times 2^(integer part toward zero).
inline double exp2(double x) {
  // Beyond +-2048 the result is 0 or infinite either way; infinities and
  // non-numbers go straight to the library.
  if (!(std::fabs(x) < 2048.0)) return std::exp2(x);
  const int64_t whole = static_cast<int64_t>(x);
  const double fraction = x - static_cast<double>(whole);
  // Scaling by a power of two that is itself a normal double rounds the
  // same way as std::ldexp, without the call.
  if (whole >= -1022 && whole <= 1023) return std::exp2(fraction) * bitCast<double>(static_cast<uint64_t>(whole + 1023) << 52);
  return std::ldexp(std::exp2(fraction), static_cast<int>(whole));
}

// The nearest integer to x, halves to even, for 0 <= x < 2^52: adding and
// taking away 2^52 leaves exactly the rounded value (as std::nearbyint in
// the default rounding mode gives it).
inline double roundHalfEven(double x) { return (x + 0x1p52) - 0x1p52; }

// The per-sample step of an envelope segment for a rate parameter p.
inline double envelopeRate(double p) { return synth::exp2(-(static_cast<double>(kRateExponent) * p)); }

// The waveshaper's curve factor k for a drive value a: 0 at a = 0.5.
constexpr double waveshapeCurve(double a) {
  const double k0 = 2.0 * a - 1.0;
  return 2.0 * k0 / (1.0 - k0);
}

// The waveshaper for a precomputed curve factor k. A caller that knows x
// lies in [-1, 1] (where the clamp changes nothing) sets InRange.
template <bool InRange = false>
inline double waveshapeWithCurve(double x, double k) {
  double xc = x;
  if constexpr (!InRange) {
    if (x >= 1.0 || std::isnan(x)) {
      xc = 1.0;
    } else if (x <= -1.0) {
      xc = -1.0;
    }
  }
  // With k = +0 (drive 0.5) the curve is (1 + 0) xc / (1 + 0 |xc|) = xc
  // exactly: the clamp alone, without the division.
  if (k == 0.0) return xc;
  return (1.0 + k) * xc / (1.0 + k * std::fabs(xc));
}

// Clamps x to [-1, 1] (a non-number counts as 1) and bends it by drive a.
inline double waveshape(double x, double a) { return waveshapeWithCurve(x, waveshapeCurve(a)); }

// Advances noiseSeed and returns a value in (-1, 1]. Shared by every noise
// oscillator of every voice, in the order the units run.
inline double nextNoise() {
  const uint32_t seed = static_cast<uint32_t>(noiseSeed) * static_cast<uint32_t>(kNoiseMultiplier);
  noiseSeed = static_cast<int32_t>(seed);
  return static_cast<double>(static_cast<int32_t>(seed)) / static_cast<double>(kNoiseDivisor);
}

// The render loop's limit for an output value: 1 or more (and a
// non-number) gives 1, -1 or less gives -1.
inline float clipSample(float v) {
  if (!(v < 1.0f)) return 1.0f;
  if (v <= -1.0f) return -1.0f;
  return v;
}

}  // namespace synth
