// Opcode numbers of the instrument programs' byte code.
#pragma once

#include <cstdint>

enum Opcode : uint8_t {
  kEndOfProgram = 0,
  kEnvelope = 1,
  kOscillator = 2,
  kFilter = 3,
  kDistortion = 4,
  kDelay = 5,
  kStackOperation = 6,
  kStore = 7,
  kPan = 8,
  kOut = 9,
  kAccumulate = 10,
  kNoOp = 11,
};

inline constexpr uint32_t kOpcodeCount = 12;

// The raw operation byte of a stack operation unit.
enum StackOperation : uint8_t {
  kStackPop = 1,
  kStackAdd = 2,
  kStackMultiply = 3,
  kStackDuplicate = 4,
  kStackSwap = 5,
  kStackAddKeep = 6,
  kStackMultiplyKeep = 7,
  kStackStereoAdd = 8,
};

// The raw pair byte of an accumulate unit.
inline constexpr uint8_t kAccumulateMain = 0;
inline constexpr uint8_t kAccumulateAux = 8;

// Oscillator flag bits.
inline constexpr uint8_t kWaveSine = 1;
inline constexpr uint8_t kWaveTrisaw = 2;
inline constexpr uint8_t kWavePulse = 4;
inline constexpr uint8_t kWaveNoise = 8;
inline constexpr uint8_t kWaveBits = kWaveSine | kWaveTrisaw | kWavePulse | kWaveNoise;
inline constexpr uint8_t kOscillatorLfo = 16;

// Filter output bits.
inline constexpr uint8_t kFilterLow = 1;
inline constexpr uint8_t kFilterHigh = 2;
inline constexpr uint8_t kFilterBand = 4;
inline constexpr uint8_t kFilterPeak = 8;
