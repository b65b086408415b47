// The unit table: what each opcode's unit is called, how many parameter
// bytes it consumes and what it does to the value stack. The byte-code
// machine, the validator and the unrolled render take these from here.
//
// What a unit does on the value stack is its unit function, beside its
// arithmetic in the unit headers (envelopeUnit ... accumulateUnit); both
// render paths call those through unit_steps.h. A unit function gets `s`, the stack's next free
// place when the unit starts (s[-1] is the top), and leaves its outputs in
// the places of its inputs from the lowest up; the caller then moves the
// depth by the unit's stack effect. The unit functions are always inlined,
// so that a render whose stack places are known keeps the values out of
// memory.
#pragma once

#include <cstdint>

#include "synth/opcodes.h"
#include "synth/synth_constants.h"

// Values a unit takes from the value stack, values it leaves there, and the
// most values it holds on the stack at once while it works (its inputs and
// outputs included): the stack has room for 8 at every moment.
struct StackEffect {
  uint8_t pops;
  uint8_t pushes;
  uint8_t held;
};

struct UnitEntry {
  const char* name;
  uint8_t paramCount;
  StackEffect stack;  // for stack operations: see unitStackEffect
};

// Indexed by opcode; entry 0 ends a program. The held counts model the
// work of each unit: an envelope keeps its level beside the gain sum; an
// oscillator its phase, waveform value and shaper terms; a filter its input
// beside two states; a distortion its input and the shaper terms; a delay
// its input, the line input, the sum and the sample read.
inline constexpr UnitEntry unitTable[kOpcodeCount] = {
    {"end of program", 0, {0, 0, 0}},
    {"envelope", 5, {0, 1, 2}},
    {"oscillator", 7, {0, 1, 3}},
    {"filter", 3, {1, 1, 3}},
    {"distortion", 2, {1, 1, 3}},
    {"delay", 8, {1, 1, 4}},
    {"stack operation", 1, {0, 0, 0}},
    {"store", 2, {1, 1, 2}},
    {"pan", 1, {1, 2, 2}},
    {"out", 2, {2, 0, 2}},
    {"accumulate", 1, {0, 2, 3}},
    {"no-op", 0, {0, 0, 0}},
};

// The stack effect of a stack operation unit, by its operation byte 1..8.
inline constexpr StackEffect stackOperationEffect[kStackStereoAdd + 1] = {
    {0, 0, 0},  // not an operation
    {1, 0, 1},  // pop
    {2, 1, 2},  // add
    {2, 1, 2},  // multiply
    {1, 2, 2},  // duplicate
    {2, 2, 2},  // swap
    {2, 2, 3},  // add, keep second
    {2, 2, 3},  // multiply, keep second
    {4, 2, 4},  // stereo add
};

// The stack effect of unit `opcode` whose raw parameter bytes start at
// `raw` (a stack operation's depends on its operation byte, 1..8).
constexpr StackEffect unitStackEffect(uint8_t opcode, const uint8_t* raw) {
  return opcode == kStackOperation ? stackOperationEffect[raw[0]] : unitTable[opcode].stack;
}

// A parameter byte's value p, as a unit reads it: byte / 128 in single
// precision.
constexpr float paramValue(uint8_t byte) { return static_cast<float>(byte) * kParamScale; }

inline constexpr uint32_t kValueStackSize = 8;
inline constexpr uint32_t kParamScratchSize = 16;
