// The instruments of the song: one byte-code program per track plus the
// master program, the parameter bytes of all their units, and the lengths
// of the delay lines.
#pragma once

#include <cstdint>

#include "synth/opcodes.h"

inline constexpr uint32_t kProgramCount = 13;  // tracks 0..11, then the master
inline constexpr uint32_t kMasterProgram = 12;
inline constexpr uint32_t kProgramTableSize = 214;
inline constexpr uint32_t kParamTableSize = 664;
inline constexpr uint32_t kDelayLengthCount = 20;

// clang-format off
// The thirteen programs back to back, each a run of opcodes ended by 0.
inline constexpr uint8_t programTable[kProgramTableSize] = {
    // program 0
    kEnvelope, kOscillator, kStackOperation, kFilter, kPan, kDelay, kOut, kEndOfProgram,
    // program 1
    kEnvelope, kStore, kEnvelope, kDistortion, kStore, kStackOperation, kOscillator, kStackOperation, kPan, kOut, kEndOfProgram,
    // program 2
    kEnvelope, kStore, kEnvelope, kStore, kStore, kStackOperation, kOscillator, kOscillator, kOscillator, kFilter, kStackOperation, kStackOperation, kStackOperation, kFilter, kDelay, kPan, kOut, kEndOfProgram,
    // program 3
    kEnvelope, kOscillator, kStackOperation, kOscillator, kStackOperation, kDistortion, kOscillator, kStackOperation, kDelay, kPan, kOut, kEndOfProgram,
    // program 4
    kEnvelope, kOscillator, kStackOperation, kOscillator, kStackOperation, kDistortion, kOscillator, kStackOperation, kOscillator, kStackOperation, kOscillator, kFilter, kStackOperation, kStore, kPan, kOut, kEndOfProgram,
    // program 5
    kEnvelope, kEnvelope, kStore, kStore, kStackOperation, kStackOperation, kOscillator, kStackOperation, kStore, kStackOperation, kOscillator, kStore, kStackOperation, kOscillator, kOscillator, kOscillator, kStackOperation, kStackOperation, kFilter, kFilter, kStackOperation, kDelay, kPan, kDelay, kOut, kEndOfProgram,
    // program 6
    kEnvelope, kStore, kOscillator, kOscillator, kOscillator, kStore, kStore, kStackOperation, kStackOperation, kStackOperation, kFilter, kFilter, kDistortion, kPan, kStackOperation, kStackOperation, kStore, kOut, kEndOfProgram,
    // program 7
    kEnvelope, kOscillator, kStore, kStackOperation, kOscillator, kStore, kStackOperation, kOscillator, kStore, kOscillator, kOscillator, kStackOperation, kStackOperation, kStackOperation, kFilter, kStackOperation, kFilter, kStackOperation, kStackOperation, kDelay, kPan, kOut, kEndOfProgram,
    // program 8
    kEnvelope, kStore, kOscillator, kStore, kStore, kStackOperation, kStore, kEnvelope, kStore, kStore, kStackOperation, kOscillator, kOscillator, kOscillator, kFilter, kStackOperation, kStackOperation, kStackOperation, kFilter, kPan, kDelay, kOut, kEndOfProgram,
    // program 9
    kEnvelope, kOscillator, kStackOperation, kStore, kOscillator, kStore, kStore, kStackOperation, kOscillator, kStackOperation, kFilter, kDelay, kPan, kOut, kEndOfProgram,
    // program 10
    kEnvelope, kOscillator, kStackOperation, kOscillator, kStackOperation, kOscillator, kFilter, kStore, kStackOperation, kOscillator, kStore, kStore, kStackOperation, kFilter, kStore, kPan, kOut, kEndOfProgram,
    // program 11
    kEnvelope, kOscillator, kStackOperation, kStore, kOscillator, kStore, kStore, kStackOperation, kOscillator, kStackOperation, kFilter, kDelay, kPan, kOut, kEndOfProgram,
    // program 12 (master)
    kAccumulate, kDelay, kStackOperation, kDelay, kStackOperation, kAccumulate, kStackOperation, kOut, kEndOfProgram,
};

// The parameter bytes of every unit, in the order the units run.
inline constexpr uint8_t paramTable[kParamTableSize] = {
    // program 0
      0,  55,   0,   0, 128,                //  0 envelope
     64,  64,  64,  64,  64, 128,   8,      //  1 oscillator
      3,                                    //  2 stack operation
    122, 128,   2,                          //  3 filter
     64,                                    //  4 pan
     69, 121,  52,  21, 128,  44,  16,   1, //  5 delay
    120,   0,                               //  6 out
    // program 1
      0,  57,  63,  63, 128,                //  0 envelope
    128,   2,                               //  1 store
      0,  64,  41, 106, 128,                //  2 envelope
     35, 128,                               //  3 distortion
     77,  49,                               //  4 store
      1,                                    //  5 stack operation
     45,  64,  32,  64,  66, 128,   1,      //  6 oscillator
      3,                                    //  7 stack operation
     64,                                    //  8 pan
    128,   0,                               //  9 out
    // program 2
      0,  72,   0,  72,  75,                //  0 envelope
    128,   2,                               //  1 store
      0,  56,   0,   0, 128,                //  2 envelope
    108,  49,                               //  3 store
     72,  57,                               //  4 store
      1,                                    //  5 stack operation
     32,  64,   0,  64,  32,  64,   1,      //  6 oscillator
     64,  64,   0,  64,  80,  64,   1,      //  7 oscillator
     64,  64,   0,  64,  64,  64,   8,      //  8 oscillator
    104, 128,   1,                          //  9 filter
      2,                                    // 10 stack operation
      2,                                    // 11 stack operation
      3,                                    // 12 stack operation
     22,  32,   2,                          // 13 filter
     25, 108, 109, 110, 128, 128,   8,   8, // 14 delay
      0,                                    // 15 pan
     22,   0,                               // 16 out
    // program 3
     51,  78,  44,   0, 128,                //  0 envelope
     52,  64,   0,  64,  64, 128,   2,      //  1 oscillator
      2,                                    //  2 stack operation
     71,  66,  26,  34,  64, 128,   4,      //  3 oscillator
      1,                                    //  4 stack operation
    118,  32,                               //  5 distortion
     64,  64,   0,  64,  64, 128,   1,      //  6 oscillator
      1,                                    //  7 stack operation
     43, 128,  94,  38,  82,  30,   0,   8, //  8 delay
     64,                                    //  9 pan
    128,   4,                               // 10 out
    // program 4
     80,  37,  37,   0, 128,                //  0 envelope
     52,  64,   0,  64,  64, 128,   2,      //  1 oscillator
      2,                                    //  2 stack operation
     71,  66,  26,  34,  64, 128,   4,      //  3 oscillator
      1,                                    //  4 stack operation
    120,  30,                               //  5 distortion
     64,  64,   0,  64,  64, 128,   1,      //  6 oscillator
      1,                                    //  7 stack operation
     76,  71,   0,  64,  64, 128,   1,      //  8 oscillator
      3,                                    //  9 stack operation
     64,  64,   0,  64,  64, 128,  20,      // 10 oscillator
     33,  33,   1,                          // 11 filter
      3,                                    // 12 stack operation
      2, 112,                               // 13 store
     79,                                    // 14 pan
     93,   1,                               // 15 out
    // program 5
      0,  64,   0,   0, 128,                //  0 envelope
      0,  58,   0,  80, 128,                //  1 envelope
     96, 148,                               //  2 store
     96, 156,                               //  3 store
      1,                                    //  4 stack operation
      4,                                    //  5 stack operation
     65,  64,   0,  64,  64, 128,  17,      //  6 oscillator
      3,                                    //  7 stack operation
     32, 109,                               //  8 store
      1,                                    //  9 stack operation
     96,  64,   0,  64,  64, 128,  17,      // 10 oscillator
     80, 122,                               // 11 store
      1,                                    // 12 stack operation
     64,  68,   0, 128,  64, 128,   4,      // 13 oscillator
     64,  64,   0,  64,  64, 128,   4,      // 14 oscillator
     76,  64,   0,   0,  64, 128,   2,      // 15 oscillator
      1,                                    // 16 stack operation
      2,                                    // 17 stack operation
     64,  47,   1,                          // 18 filter
     42,  81,   1,                          // 19 filter
      3,                                    // 20 stack operation
     64, 128,  64,  32,   0,   0,  17,   1, // 21 delay
     37,                                    // 22 pan
    128,   0,   0,   0,   0,   0,  18,   1, // 23 delay
     68,   3,                               // 24 out
    // program 6
     12,  64,  18,  64,  64,                //  0 envelope
    120,   2,                               //  1 store
     64,  64,  32,  80,  64, 128,   4,      //  2 oscillator
     64,  87,  30,  65,  74, 128,  18,      //  3 oscillator
     32,  64,   0,  64,  90, 128,  17,      //  4 oscillator
     68,  18,                               //  5 store
     60,  26,                               //  6 store
      1,                                    //  7 stack operation
      2,                                    //  8 stack operation
      3,                                    //  9 stack operation
     17,  53,   8,                          // 10 filter
     28,  48,   1,                          // 11 filter
    118,  32,                               // 12 distortion
     64,                                    // 13 pan
      5,                                    // 14 stack operation
      5,                                    // 15 stack operation
     95, 104,                               // 16 store
    128,   0,                               // 17 out
    // program 7
      0,  88, 128,   6, 128,                //  0 envelope
     16,  64,  88,  64,  64, 128,  17,      //  1 oscillator
     68, 116,                               //  2 store
      1,                                    //  3 stack operation
     17,  64,   0,  64,  64, 128,  17,      //  4 oscillator
     48, 132,                               //  5 store
      1,                                    //  6 stack operation
     28,  68,   0,  56,  32, 128,   1,      //  7 oscillator
    112,  76,                               //  8 store
     93,  77,   0,  23,  64, 128,   4,      //  9 oscillator
     52,  72,   0,  52,  64, 128,   4,      // 10 oscillator
      3,                                    // 11 stack operation
      3,                                    // 12 stack operation
      4,                                    // 13 stack operation
     26,  29,   4,                          // 14 filter
      5,                                    // 15 stack operation
     64,  36,   4,                          // 16 filter
      2,                                    // 17 stack operation
      3,                                    // 18 stack operation
      3, 128,  96,  64,   0,   0,   0,   8, // 19 delay
     63,                                    // 20 pan
     32,  27,                               // 21 out
    // program 8
      0,  72,  72,  72, 128,                //  0 envelope
    124,   2,                               //  1 store
    104,  64,   0,   0, 126, 120,  17,      //  2 oscillator
     92, 116,                               //  3 store
     36, 148,                               //  4 store
      1,                                    //  5 stack operation
     76, 152,                               //  6 store
      0,  54,   0,   0, 128,                //  7 envelope
    108,  89,                               //  8 store
     72,  97,                               //  9 store
      1,                                    // 10 stack operation
     32,  64,   0,  64,  32,  64,   1,      // 11 oscillator
     64,  64,   0,  64,  64,  64,   1,      // 12 oscillator
     64,  64,   0,  64,  64,  64,   8,      // 13 oscillator
     64, 128,   1,                          // 14 filter
      2,                                    // 15 stack operation
      2,                                    // 16 stack operation
      3,                                    // 17 stack operation
     71, 128,   2,                          // 18 filter
    128,                                    // 19 pan
      0, 128,  64,  60,   0,   0,   8,   8, // 20 delay
     13,   2,                               // 21 out
    // program 9
      0,  64,  24,  64, 128,                //  0 envelope
     64,  62,   0,  64,  64, 128,   4,      //  1 oscillator
      3,                                    //  2 stack operation
     64,  39,                               //  3 store
    100,  64,   0,  64,  64,  38,  20,      //  4 oscillator
      0,  84,                               //  5 store
    101,  96,                               //  6 store
      1,                                    //  7 stack operation
     64,  64,  28,  64,  64, 128,   4,      //  8 oscillator
      3,                                    //  9 stack operation
     61,  49,   2,                          // 10 filter
     64, 128,   0,  64,   0,   0,  19,   1, // 11 delay
     66,                                    // 12 pan
    105,  12,                               // 13 out
    // program 10
     40,  80,  32,  64, 128,                //  0 envelope
     88,  60,  64,  64,   1, 128,   4,      //  1 oscillator
      3,                                    //  2 stack operation
     64,  50,   0,  64,  64,  64,   4,      //  3 oscillator
      3,                                    //  4 stack operation
     96,  65,   0,  34,  64, 128,  20,      //  5 oscillator
     13, 128,   1,                          //  6 filter
     96, 129,                               //  7 store
      1,                                    //  8 stack operation
     48,  64,  35,  64,  64, 128,  17,      //  9 oscillator
     95,  13,                               // 10 store
     92,  29,                               // 11 store
      1,                                    // 12 stack operation
     58,  70,   1,                          // 13 filter
    101, 120,                               // 14 store
    102,                                    // 15 pan
     80,  30,                               // 16 out
    // program 11
      0,  64,  24,  64, 128,                //  0 envelope
     64,  65,   0,  74,  64, 128,   4,      //  1 oscillator
      3,                                    //  2 stack operation
     64,  39,                               //  3 store
    100,  64,   0,  64,  64,  30,  20,      //  4 oscillator
     10,  84,                               //  5 store
    101,  96,                               //  6 store
      1,                                    //  7 stack operation
     64,  64,  28,  64,  64, 128,   4,      //  8 oscillator
      3,                                    //  9 stack operation
     61,  49,   2,                          // 10 filter
     64, 128,  34,  64,   0,   0,  16,   1, // 11 delay
      6,                                    // 12 pan
    104,   0,                               // 13 out
    // program 12 (master)
      8,                                    //  0 accumulate
     40, 128, 125,  64,   0,   0,   0,   8, //  1 delay
      5,                                    //  2 stack operation
     40, 128, 125,  64,   0,   0,   8,   8, //  3 delay
      5,                                    //  4 stack operation
      0,                                    //  5 accumulate
      8,                                    //  6 stack operation
     50,   0,                               //  7 out
};

// Delay line lengths in samples, indexed by a delay unit's firstLine + j.
// Entries 8 to 15 are entries 0 to 7 plus 24 samples (the right-hand bank
// of the reverberation); 16, 17 and 19 are echoes of about two, three and
// four ticks.
inline constexpr uint16_t delayLengthTable[kDelayLengthCount] = {
     1116,  1188,  1276,  1356,  1422,  1492,  1556,  1618,
     1140,  1212,  1300,  1380,  1446,  1516,  1580,  1642,
    10335, 15503,   512, 20671,
};
// clang-format on
