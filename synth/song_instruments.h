// The instruments of the song: one byte-code program per track plus the
// master program, the parameter bytes of all their units, and the lengths
// of the delay lines.
#pragma once

#include <cstdint>

inline constexpr uint32_t kProgramCount = 13;  // tracks 0..11, then the master
inline constexpr uint32_t kMasterProgram = 12;
inline constexpr uint32_t kProgramTableSize = 214;
inline constexpr uint32_t kParamTableSize = 664;
inline constexpr uint32_t kDelayLengthCount = 20;

// The thirteen programs back to back, each a run of opcodes ended by 0.
extern const uint8_t programTable[kProgramTableSize];
// The parameter bytes of every unit, in the order the units run.
extern const uint8_t paramTable[kParamTableSize];
// Delay line lengths in samples, indexed by a delay unit's firstLine + j.
extern const uint16_t delayLengthTable[kDelayLengthCount];
