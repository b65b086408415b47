// Checks a set of song tables against every limit the engine relies on,
// and lays out where each unit's parameters, stack values and delay lines
// lie. The render refuses tables that fail.
#pragma once

#include <cstdint>

#include "synth/song_data.h"
#include "synth/song_instruments.h"
#include "synth/voice_state.h"

struct SongDataError {
  char message[200];  // one sentence naming the first violation
};

// One unit of the walk over all programs.
struct UnitLayout {
  uint8_t program;
  uint8_t index;       // its workspace number in the record
  uint8_t opcode;
  uint8_t depth;       // values on the stack when it starts
  uint16_t param;      // offset of its first parameter byte
  uint16_t firstLine;  // delay units: the first pool line they claim
};

struct SongLayout {
  UnitLayout units[kProgramCount * kWorkspacesPerRecord];
  uint32_t unitCount;
  uint32_t programUnits[kProgramCount];  // units per program
  uint32_t linesClaimed;                 // delay lines claimed per sample
};

// Fills `layout` and returns true when the song passes every check;
// otherwise describes the first violation in `error` (when not null).
bool analyseSong(const SongData& song, SongLayout& layout, SongDataError* error);

bool validateSongData(const SongData& song, SongDataError* error);
