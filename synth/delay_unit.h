// The delay unit (opcode 5): parallel feedback comb filters with damping,
// a shared sine modulation of the read position, a dry path and a DC
// blocker on the sum. Its state lives in the delay pool, not in its
// workspace; it runs whether or not the voice sounds.
#pragma once

#include <cmath>
#include <cstdint>

#include "synth/unit_math.h"
#include "synth/voice_state.h"

struct DelayParams {
  double pregain;
  double dry;
  double feedback;
  double damp;
  double undamped;    // 1 - damp
  double phaseStep;   // modulation cycles per sample: p^4 / 1024
  double depth;       // modulation depth in samples: p^4 * 1024
  uint8_t firstLine;  // index of the first line's length
  uint8_t lineCount;
};

// Raw bytes 6 and 7: the length-table entry of the unit's first line, and
// how many consecutive pool lines it claims.
constexpr uint8_t delayFirstLength(const uint8_t* raw) { return raw[6]; }
constexpr uint8_t delayLineCount(const uint8_t* raw) { return raw[7]; }

constexpr DelayParams decodeDelay(const float* p, const uint8_t* raw) {
  const double rate = p[4];
  const double depth = p[5];
  return DelayParams{p[0],
                     p[1],
                     p[2],
                     p[3],
                     1.0 - p[3],
                     rate * rate * rate * rate / kModScale,
                     depth * depth * depth * depth * kModScale,
                     delayFirstLength(raw),
                     delayLineCount(raw)};
}

// Runs the unit's lines, `lines[0]` to `lines[lineCount - 1]` (lineCount
// is dp.lineCount), whose lengths are `lengths[0..]`, and the DC blocker
// kept in `after`, the line that follows them.
inline double delayStep(const DelayParams& dp, uint32_t lineCount, double x, DelayLine* lines,
                        const uint16_t* lengths, DelayLine& after) {
  const double in = x * dp.pregain * dp.pregain;
  double acc = x * dp.dry;
  // With a rate of 0 a phase of 0 stays 0 (wrapping 0 + 0 + 1 gives +0
  // again), so the wrap can go.
  double phase = 0.0;
  if (dp.phaseStep != 0.0 || lines[0].modulationPhase != 0.0f) {
    phase = synth::wrapCycle(lines[0].modulationPhase + dp.phaseStep + 1.0);
    lines[0].modulationPhase = static_cast<float>(phase);
  }
  // The sine is finite, so a depth of 0 gives an offset of 0 without it.
  // The offset is never negative and stays below 32 260.
  int32_t offset = 0;
  if (dp.depth != 0.0) offset = static_cast<int32_t>(synth::roundHalfEven((1.0 + std::sin(synth::kTwoPi * phase)) * dp.depth));
  for (uint32_t j = 0; j < lineCount; ++j) {
    DelayLine& line = lines[j];
    const int32_t length = lengths[j];
    // The write position is always below the length, so without an offset
    // the read position is the write position.
    int32_t read = line.writeIndex;
    if (offset != 0) {
      read += offset;
      if (read >= length) read -= length;
    }
    const double d = line.samples[read];
    acc += d;
    const double damped = d * dp.undamped + dp.damp * line.dampingState;
    line.dampingState = static_cast<float>(damped);
    line.samples[line.writeIndex] = static_cast<float>(damped * dp.feedback + in);
    if (++line.writeIndex == length) line.writeIndex = 0;
  }
  const double y = acc + (static_cast<double>(kDcCoefficient) * after.dcOutput - after.dcInput);
  after.dcInput = static_cast<float>(acc);
  after.dcOutput = static_cast<float>(y);
  return y;
}

// Runs the unit on the top value over its claimed lines, `lines[0]` to
// `lines[lineCount - 1]` (lineCount is dp.lineCount); the line after them
// keeps its DC blocker. The delay runs whether or not the voice sounds.
[[gnu::always_inline]] inline void delayUnit(const DelayParams& dp, uint32_t lineCount, DelayLine* lines,
                                             const uint16_t* lengths, double* s) {
  s[-1] = delayStep(dp, lineCount, s[-1], lines, lengths, lines[lineCount]);
}
