// The programs of a validated song decoded for the render loop: one record
// per unit with its parameters already converted, its workspace, its voice,
// its delay lines and the fixed stack position it works at. Running the
// records in order does exactly what the byte-code machine does on one
// sample, bit for bit.
#pragma once

#include <cstdint>

#include "synth/delay_unit.h"
#include "synth/opcodes.h"
#include "synth/routing_units.h"
#include "synth/shaping_units.h"
#include "synth/song_data.h"
#include "synth/song_instruments.h"
#include "synth/song_validation.h"
#include "synth/source_units.h"
#include "synth/voice_state.h"

// What a decoded record does beyond the units' opcodes: kEndOfProgram
// ends a track's program (the voice-off rule of its record), kEndOfSample
// ends the master program and with it the sample.
inline constexpr uint8_t kEndOfSample = kOpcodeCount;

// What ends program k.
constexpr uint8_t programEnd(uint32_t k) { return k == kMasterProgram ? kEndOfSample : uint8_t{kEndOfProgram}; }

struct DelayUnitState {
  DelayParams params;
  DelayLine* lines;  // the first claimed line
  const uint16_t* lengths;
};

struct CompiledUnit {
  uint8_t opcode;  // or kEndOfSample
  uint8_t depth;   // values on the stack when the unit starts
  VoiceRecord* voice;
  float* ws;
  union {
    EnvelopeParams envelope;
    OscillatorParams oscillator;
    FilterParams filter;
    DistortionParams distortion;
    DelayUnitState delay;
    uint8_t operation;  // stack operation
    StoreParams store;
    double position;  // pan
    OutParams out;
    uint8_t pair;  // accumulate
  };
  PitchCache pitch;  // oscillator
};

inline constexpr uint32_t kMaxCompiledUnits = kProgramCount * kWorkspacesPerRecord + kProgramCount;

struct CompiledSong {
  CompiledUnit units[kMaxCompiledUnits];
  uint32_t unitCount;
  uint32_t linesClaimed;
};

// Decodes a song that analyseSong has laid out.
void compileSong(const SongData& song, const SongLayout& layout, CompiledSong& compiled);

// Runs every program once: one sample of the song.
void runCompiledSample(CompiledUnit* units);
