// The programs of a validated song decoded for the render loop: one record
// per unit with its parameters already converted, its workspace, its voice,
// its delay lines and the fixed stack position it works at. Running the
// records in order does exactly what the byte-code machine does on one
// sample, bit for bit.
#pragma once

#include <cstdint>

#include "synth/delay_unit.h"
#include "synth/opcodes.h"
#include "synth/shaping_units.h"
#include "synth/song_data.h"
#include "synth/song_instruments.h"
#include "synth/song_validation.h"
#include "synth/source_units.h"
#include "synth/voice_state.h"

enum class Step : uint8_t {
  kEnvelope,
  kOscillator,
  kFilter,
  kDistortion,
  kDelay,
  kPop,
  kAdd,
  kMultiply,
  kDuplicate,
  kSwap,
  kAddKeep,
  kMultiplyKeep,
  kStereoAdd,
  kStore,
  kPan,
  kOut,
  kSumMain,
  kSumAux,
  kNoOp,
  kEndOfTrack,   // the voice-off rule of the track's record
  kEndOfSample,  // after the master program
};

// The step of a stack operation unit, by its operation byte 1..8.
constexpr Step stackStep(uint8_t operation) {
  switch (operation) {
    case kStackPop: return Step::kPop;
    case kStackAdd: return Step::kAdd;
    case kStackMultiply: return Step::kMultiply;
    case kStackDuplicate: return Step::kDuplicate;
    case kStackSwap: return Step::kSwap;
    case kStackAddKeep: return Step::kAddKeep;
    case kStackMultiplyKeep: return Step::kMultiplyKeep;
    default: return Step::kStereoAdd;
  }
}

struct DelayUnitState {
  DelayParams params;
  DelayLine* lines;
  DelayLine* after;  // holds the unit's DC blocker
  const uint16_t* lengths;
};

struct CompiledUnit {
  Step step;
  uint8_t depth;   // values on the stack when the unit starts
  uint8_t target;  // store: voice slot index
  VoiceRecord* voice;
  float* ws;
  union {
    EnvelopeParams envelope;
    OscillatorParams oscillator;
    FilterParams filter;
    DistortionParams distortion;
    DelayUnitState delay;
    double factor;    // store
    double position;  // pan
    struct {
      double gain;
      double auxGain;
    } out;
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
