#include "synth/unit_table.h"

#include "synth/unit_machine.h"

// The held counts model the work of each unit: an envelope keeps its level
// beside the gain sum; an oscillator its phase, waveform value and shaper
// terms; a filter its input beside two states; a distortion its input and
// the shaper terms; a delay its input, the line input, the sum and the
// sample read.
const UnitEntry unitTable[kOpcodeCount] = {
    {"end of program", 0, {0, 0, 0}, nullptr},
    {"envelope", 5, {0, 1, 2}, runEnvelope},
    {"oscillator", 7, {0, 1, 3}, runOscillator},
    {"filter", 3, {1, 1, 3}, runFilter},
    {"distortion", 2, {1, 1, 3}, runDistortion},
    {"delay", 8, {1, 1, 4}, runDelay},
    {"stack operation", 1, {0, 0, 0}, runStackOperation},
    {"store", 2, {1, 1, 2}, runStore},
    {"pan", 1, {1, 2, 2}, runPan},
    {"out", 2, {2, 0, 2}, runOut},
    {"accumulate", 1, {0, 2, 3}, runAccumulate},
    {"no-op", 0, {0, 0, 0}, runNoOp},
};

const StackEffect stackOperationEffect[9] = {
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
